#pragma once
// The installation run, on Linux: folders from the environment, freedesktop shortcuts, an
// uninstall entry as a small key file, and a record of everything installed for the
// uninstaller.

#include "setup/installlog.h"

#include <string>
#include <vector>

namespace setup {

// Where things go. Every root comes from the environment; SETUP_ROOT prefixes the machine-wide
// folders (tests set it, so that nothing touches the real system, even as root).
struct Places {
    std::string root;         // SETUP_ROOT, "" on a real system
    std::string dataHome;     // XDG_DATA_HOME or ~/.local/share
    std::string desktop;      // xdg-user-dir DESKTOP, else ~/Desktop
    std::string opener;       // SETUP_OPEN_COMMAND or xdg-open
    bool machineWide = false; // the system program folder can be written
    std::string base;         // <root>/opt/ or <data home>/
    std::string bindir;       // <root>/usr/local/bin/ (machine-wide uninstaller)
    std::string entryDir;     // <root>/etc/tervalo/uninstall/
    std::string menuDir;      // <data home>/applications/
};
Places detectPlaces();

struct Options {
    std::string source;      // the folder setup runs from, with "/"
    std::string destination; // with "/"
    std::string email;
    bool desktopShortcut = true;
    bool startProgram = true;
    bool silent = false;
};

// What the run shows the user; the Qt windows or standard error.
class Ui {
public:
    virtual ~Ui() = default;
    virtual void status(const std::string& text) = 0;
    virtual void message(const std::string& text, const std::string& caption) = 0;
};

std::string defaultDestination(const InstallLog& log, const Places& places);

struct RunResult {
    std::string programToStart;
    std::vector<std::string> opened; // what was handed to the opener
};

bool CopyOneFile(const std::string& source, const std::string& target, Ui& ui);
RunResult RunInstallation(const InstallLog& log, const Options& options, const Places& places,
                          Ui& ui);

// The uninstaller's work: removes what the record in `destination` lists, the record, the
// uninstall entry and the folders that are left empty. False when there is no record.
bool Uninstall(const std::string& destination, std::string& error);

} // namespace setup
