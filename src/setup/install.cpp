#include "setup/install.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace setup {

namespace {

std::string env(const char* name, const std::string& fallback = {}) {
    const char* v = std::getenv(name);
    return v && *v ? v : fallback;
}

std::string withSlash(std::string s) {
    if (!s.empty() && s.back() != '/')
        s += '/';
    return s;
}

std::string dirOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string baseName(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Creates every missing level; returns the folders it made, outermost first.
std::vector<std::string> CreateFolderPath(const std::string& folder) {
    std::vector<std::string> made;
    std::string path;
    std::size_t at = 0;
    while (at < folder.size()) {
        const auto next = folder.find('/', at + 1);
        path = folder.substr(0, next == std::string::npos ? folder.size() : next);
        at = next == std::string::npos ? folder.size() : next;
        if (path.empty())
            continue;
        struct stat st {};
        if (::stat(path.c_str(), &st) != 0 && ::mkdir(path.c_str(), 0755) == 0)
            made.push_back(withSlash(path));
    }
    return made;
}

std::string runCapture(const std::vector<std::string>& argv) {
    int pipefd[2];
    if (::pipe(pipefd) != 0)
        return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipefd[1], 1);
    posix_spawn_file_actions_addclose(&actions, pipefd[0]);
    std::vector<char*> args;
    for (const std::string& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    pid_t pid = 0;
    const int rc = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipefd[1]);
    std::string out;
    char buf[512];
    ssize_t n;
    while (rc == 0 && (n = ::read(pipefd[0], buf, sizeof buf)) > 0)
        out.append(buf, std::size_t(n));
    ::close(pipefd[0]);
    if (rc == 0)
        ::waitpid(pid, nullptr, 0);
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r'))
        out.pop_back();
    return out;
}

// Starts a program without waiting for it.
void startDetached(const std::vector<std::string>& argv, const std::string& workdir = {}) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (::fork() == 0) { // grandchild: no zombie left behind
            if (!workdir.empty() && ::chdir(workdir.c_str()) != 0)
                _exit(127);
            std::vector<char*> args;
            for (const std::string& a : argv)
                args.push_back(const_cast<char*>(a.c_str()));
            args.push_back(nullptr);
            ::execvp(args[0], args.data());
            _exit(127);
        }
        _exit(0);
    }
    if (pid > 0)
        ::waitpid(pid, nullptr, 0);
}

bool isProgram(const std::string& name, const std::string& sourcePath) {
    const auto dot = name.find_last_of('.');
    std::string ext = dot == std::string::npos ? std::string() : name.substr(dot + 1);
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return char(std::toupper(c)); });
    if (ext.find("EXE") != std::string::npos)
        return true;
    // On Linux a program is a file one may run.
    struct stat st {};
    return ::stat(sourcePath.c_str(), &st) == 0 && S_ISREG(st.st_mode) && (st.st_mode & S_IXUSR);
}

bool writeText(const std::string& path, const std::string& text, mode_t mode = 0644) {
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        if (!out || !(out << text).flush())
            return false;
    }
    return ::chmod(path.c_str(), mode) == 0;
}

// A freedesktop shortcut: the program, its folder as working folder.
std::string desktopEntry(const std::string& name, const std::string& target,
                         const std::string& argument = {}) {
    std::string exec = "\"" + target + "\"";
    if (!argument.empty())
        exec += " \"" + argument + "\"";
    return "[Desktop Entry]\nType=Application\nName=" + name + "\nExec=" + exec +
           "\nPath=" + dirOf(target) + "\nTerminal=false\n";
}

const char* const kRecord = ".uninstall.log";

} // namespace

Places detectPlaces() {
    Places p;
    p.root = env("SETUP_ROOT");
    const std::string home = env("HOME", "/root");
    p.dataHome = withSlash(env("XDG_DATA_HOME", home + "/.local/share"));
    std::string desktop = runCapture({"xdg-user-dir", "DESKTOP"});
    if (desktop.empty() || desktop == home)
        desktop = home + "/Desktop";
    p.desktop = withSlash(desktop);
    p.opener = env("SETUP_OPEN_COMMAND", "xdg-open");
    const std::string opt = p.root + "/opt";
    p.machineWide = ::access(opt.c_str(), W_OK) == 0;
    p.base = p.machineWide ? opt + "/" : p.dataHome;
    p.bindir = p.root + "/usr/local/bin/";
    p.entryDir = p.root + "/etc/tervalo/uninstall/";
    p.menuDir = p.dataHome + "applications/";
    return p;
}

std::string defaultDestination(const InstallLog& log, const Places& places) {
    return withSlash(places.base + log.folderName);
}

bool CopyOneFile(const std::string& source, const std::string& target, Ui& ui) {
    ui.status("Copy " + source + "\r to \r" + target + "...");
    bool ok = false;
    struct stat st {};
    std::FILE* in = std::fopen(source.c_str(), "rb");
    std::FILE* out = in ? std::fopen(target.c_str(), "wb") : nullptr;
    if (in && out) {
        ok = true;
        char block[2048];
        std::size_t n;
        while (ok && (n = std::fread(block, 1, sizeof block, in)) > 0)
            ok = std::fwrite(block, 1, n, out) == n;
        ok = ok && !std::ferror(in);
    }
    if (out && std::fclose(out) != 0)
        ok = false;
    if (in)
        std::fclose(in);
    // The copy keeps the source's executable bits.
    if (ok && ::stat(source.c_str(), &st) == 0)
        ::chmod(target.c_str(), (st.st_mode & 0777) | 0600);
    if (!ok)
        ui.message("Error while copying the file \r\n" + source + "\r\n to \r\n" + target +
                       " ! This probably means that the program is still running. Terminate the "
                       "program or restart your computer.",
                   "");
    return ok;
}

RunResult RunInstallation(const InstallLog& log, const Options& o, const Places& places, Ui& ui) {
    RunResult result;
    const std::string source = withSlash(o.source), dest = withSlash(o.destination);
    std::vector<std::string> record; // what the uninstaller removes: "F path" or "D folder"
    for (const std::string& d : CreateFolderPath(dest))
        record.push_back("D " + d);
    for (const Entry& e : log.entries) {
        std::string target;
        if (e.action == "DEINST!" && places.machineWide) {
            for (const std::string& d : CreateFolderPath(places.bindir))
                record.push_back("D " + d);
            target = places.bindir + baseName(e.file);
            if (CopyOneFile(source + e.file, target, ui)) {
                // The uninstall entry: a key file of the program's name.
                for (const std::string& d : CreateFolderPath(places.entryDir))
                    record.push_back("D " + d);
                const std::string entry = places.entryDir + log.folderName + ".conf";
                if (writeText(entry, "DisplayName=" + log.folderName +
                                         "\nUninstallString=" + target + " \"" + dest + "\"\n"))
                    record.push_back("F " + entry);
            }
        } else {
            target = dest + e.file;
            if (e.file.find('/') != std::string::npos)
                for (const std::string& d : CreateFolderPath(dirOf(target)))
                    record.push_back("D " + d);
            CopyOneFile(source + e.file, target, ui);
        }
        record.push_back("F " + target);
    }
    const std::string group = withSlash(places.menuDir + log.groupName);
    for (const std::string& d : CreateFolderPath(group))
        record.push_back("D " + d);
    for (const Entry& e : log.entries) {
        if (e.action == "EXEC!" || e.action == "AUTOSTART!" || e.action == "NEIN!" ||
            e.action == "NEINIFNOTEXIST!")
            continue;
        if (e.action == "DEINST!") {
            if (!places.machineWide) {
                const std::string link = group + "Uninstall.desktop";
                // The uninstaller is told the destination, as the uninstall string tells it.
                if (writeText(link, desktopEntry("Uninstall", dest + e.file, dest), 0755))
                    record.push_back("F " + link);
            }
            continue;
        }
        const std::string target = dest + e.file;
        const std::string link = group + e.action + ".desktop";
        if (writeText(link, desktopEntry(e.action, target), 0755))
            record.push_back("F " + link);
        if (isProgram(e.file, target)) {
            if (o.desktopShortcut) {
                for (const std::string& d : CreateFolderPath(places.desktop))
                    record.push_back("D " + d);
                const std::string onDesktop = places.desktop + e.action + ".desktop";
                if (writeText(onDesktop, desktopEntry(e.action, target), 0755))
                    record.push_back("F " + onDesktop);
            }
            result.programToStart = target;
        }
    }
    for (const Entry& e : log.entries)
        if (e.action == "EXEC!") {
            startDetached({places.opener, dest + e.file});
            result.opened.push_back(dest + e.file);
        }
    // The record for the uninstaller, in the destination.
    std::string text;
    for (const std::string& r : record)
        text += r + "\n";
    writeText(dest + kRecord, text);
    if (!o.silent) {
        std::string done = "The installation is now complete.";
        done += o.desktopShortcut
                    ? " A start menu entry and a shortcut on the desktop has been created."
                    : " A start menu entry has been created.";
        if (o.startProgram)
            done += " The program will be started for the first time now.";
        ui.message(done, "Installation finished");
        if (!result.programToStart.empty() && o.startProgram)
            startDetached({result.programToStart}, dirOf(result.programToStart));
        if (!o.email.empty()) {
            const std::string url = newsletterUrl(o.email);
            startDetached({places.opener, url});
            result.opened.push_back(url);
        }
    }
    return result;
}

bool Uninstall(const std::string& destination, std::string& error) {
    const std::string dest = withSlash(destination);
    std::ifstream in(dest + kRecord);
    if (!in) {
        error = "There is no installation in " + dest;
        return false;
    }
    std::vector<std::string> files, folders;
    std::string line;
    while (std::getline(in, line)) {
        if (line.size() < 3)
            continue;
        (line[0] == 'D' ? folders : files).push_back(line.substr(2));
    }
    for (const std::string& f : files)
        std::remove(f.c_str());
    std::remove((dest + kRecord).c_str());
    // Folders setup made, innermost first, only when nothing else is in them.
    std::sort(folders.begin(), folders.end(),
              [](const std::string& a, const std::string& b) { return a.size() > b.size(); });
    for (const std::string& d : folders)
        ::rmdir(d.c_str());
    return true;
}

} // namespace setup
