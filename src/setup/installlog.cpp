#include "setup/installlog.h"

#include <cctype>
#include <charconv>
#include <fstream>
#include <iterator>

namespace setup {

namespace {

constexpr std::size_t kMaxEntries = 200;
constexpr std::size_t kMaxName = 99;
constexpr std::size_t kMaxLine = 255;

// Lines end with CR LF or LF.
std::vector<std::string> splitLines(const std::string& text, bool& endsWithNewline) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            endsWithNewline = false;
            return lines;
        }
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
        start = end + 1;
    }
    endsWithNewline = true;
    return lines;
}

std::string slashes(std::string s) {
    for (char& c : s)
        if (c == '\\')
            c = '/';
    return s;
}

bool startsWithNoCase(const std::string& s, const std::string& prefix) {
    if (s.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(s[i])) !=
            std::toupper(static_cast<unsigned char>(prefix[i])))
            return false;
    return true;
}

} // namespace

bool ReadInstallLog(const std::string& text, InstallLog& out) {
    out = InstallLog{};
    bool endsWithNewline = false;
    const std::vector<std::string> lines = splitLines(text, endsWithNewline);
    if (lines.size() < 7)
        return false;
    if (lines[0] != "Tervalo (De)Install 2.0 - Install.log")
        return false;
    // Line 2 in the Windows code page or in UTF-8.
    if (lines[1] != "Nicht ver\xE4ndern, nicht l\xF6schen!" &&
        lines[1] != "Nicht ver\xC3\xA4ndern, nicht l\xC3\xB6schen!")
        return false;
    out.programName = lines[2];
    std::string folder = lines[3];
    if (startsWithNoCase(folder, "C:\\PROGRAMME\\"))
        folder = folder.substr(13);
    out.folderName = slashes(folder);
    out.groupName = lines[4];
    if (out.programName.size() > kMaxLine || out.folderName.size() > kMaxLine ||
        out.groupName.size() > kMaxLine || out.folderName.empty())
        return false;
    long long n = -1;
    const std::string& count = lines[6];
    const auto r = std::from_chars(count.data(), count.data() + count.size(), n);
    if (r.ec != std::errc() || r.ptr != count.data() + count.size() || n < 0 ||
        n > static_cast<long long>(kMaxEntries))
        return false;
    // Each entry is two lines, and at least one more line must follow the last one.
    const std::size_t needed = 7 + 2 * std::size_t(n);
    if (lines.size() < needed + 1)
        return false;
    for (std::size_t i = 0; i < std::size_t(n); ++i) {
        const std::string& file = lines[7 + 2 * i];
        const std::string& action = lines[8 + 2 * i];
        if (file.empty() || file.size() > kMaxLine || action.size() > kMaxLine)
            return false;
        const std::string name = slashes(file.substr(0, kMaxName));
        // Files stay inside the destination.
        if (name.front() == '/' || name.find("..") != std::string::npos)
            return false;
        out.entries.push_back({name, action.substr(0, kMaxName)});
    }
    return true;
}

bool ReadInstallLogFile(const std::string& fileName, InstallLog& out) {
    std::ifstream in(fileName, std::ios::binary);
    if (!in)
        return false;
    const std::string text{std::istreambuf_iterator<char>(in), {}};
    if (text.size() > 1 << 20)
        return false;
    return ReadInstallLog(text, out);
}

std::string newsletterUrl(const std::string& email) {
    static const char hex[] = "0123456789ABCDEF";
    std::string encoded;
    for (unsigned char c : email) {
        if (c == '.' || std::isdigit(c) || c == '@' || (c >= 'A' && c <= 'Z') || c == '[' ||
            c == ']' || c == '_' || (c >= 'a' && c <= 'z')) {
            encoded += char(c);
        } else {
            encoded += '%';
            encoded += hex[c >> 4];
            encoded += hex[c & 15];
        }
    }
    return "https://www.tervalo.de/maillisteng.php?EMAIL=" + encoded + "&eintragen=1";
}

} // namespace setup
