#pragma once
// The install list Install.log: what setup installs and how. setup shares no code with picmetra.

#include <string>
#include <vector>

namespace setup {

struct Entry {
    std::string file;   // relative, "/" separated
    std::string action; // "DEINST!", "EXEC!", "AUTOSTART!", "NEIN!", "NEINIFNOTEXIST!" or a name
};

struct InstallLog {
    std::string programName;
    std::string folderName; // line 4 without the "C:\PROGRAMME\" prefix
    std::string groupName;
    std::vector<Entry> entries;
};

// Parses the text of Install.log; false when it is not a sound install list.
bool ReadInstallLog(const std::string& text, InstallLog& out);
bool ReadInstallLogFile(const std::string& fileName, InstallLog& out);

// The newsletter address for an e-mail text, byte by byte encoded.
std::string newsletterUrl(const std::string& email);

} // namespace setup
