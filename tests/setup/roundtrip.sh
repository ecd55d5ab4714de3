#!/usr/bin/env bash
# From the distribution folder: install silently into a sandbox, run the installed
# picmetra-cli, uninstall, and nothing may be left behind.
# usage: roundtrip.sh DISTDIR WORKDIR
set -euo pipefail
dist=$1 work=$2
rm -rf "$work" && mkdir -p "$work/home"
export HOME="$work/home" XDG_DATA_HOME="$work/home/.local/share" SETUP_ROOT="$work/sys"
export SETUP_OPEN_COMMAND=true
export -n DISPLAY 2>/dev/null || true
before=$(cd "$work" && find . | sort)

"$dist/setup" -silent
dest="$XDG_DATA_HOME/Picmetra"
test -x "$dest/picmetra" && test -x "$dest/picmetra-cli" && test -f "$dest/translate.dat"
test -x "$dest/uninstall"
test -f "$XDG_DATA_HOME/applications/Tervalo Picmetra/Picmetra.desktop"
test -f "$HOME/Desktop/Picmetra.desktop"
QT_QPA_PLATFORM=offscreen "$dest/picmetra-cli" --help | grep -q 'picmetra-cli COMMAND'

"$dest/uninstall" -silent "$dest/"
after=$(cd "$work" && find . | sort)
if [ "$before" != "$after" ]; then
    echo "left behind:"; diff <(echo "$before") <(echo "$after") || true
    exit 1
fi
echo "1 passed, 0 failed"
