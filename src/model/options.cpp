#include "model/options.h"

#include "model/atomicfile.h"
#include "model/text.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace pm {

std::string GetProgramDir(bool create, const std::string& dataHome, const std::string& progpath) {
    if (dataHome.empty())
        return progpath;
    std::string dir = dataHome;
    if (dir.back() != '/')
        dir += '/';
    dir += "Tervalo/Picmetra/";
    if (create) {
        std::error_code ec;
        std::filesystem::create_directories(dir, ec);
    }
    return dir;
}

std::optional<int> parseOptions(const unsigned char* data, std::size_t size) {
    if (size < 4)
        return std::nullopt;
    const int index = getLE32(data);
    if (index < 0 || index > 29)
        return std::nullopt;
    return index;
}

std::optional<int> LoadOptions(const std::string& fileName) {
    std::ifstream in(fileName, std::ios::binary);
    unsigned char b[4];
    if (!in || !in.read(reinterpret_cast<char*>(b), 4))
        return std::nullopt;
    return parseOptions(b, 4);
}

bool SaveOptions(const std::string& fileName, int language) {
    unsigned char b[4];
    putLE32(b, language);
    return writeFileAtomically(fileName, std::string_view(reinterpret_cast<const char*>(b), 4));
}

} // namespace pm
