// Builds translate.dat from the readable tables under translations/: each line a German text,
// a tab and its translation (one file per language column).
// Usage: make_translate_dat OUT COLUMN=FILE [COLUMN=FILE ...]
#include "model/text.h"

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <string>
#include <vector>

namespace {

void put32(std::string& out, std::int32_t v) {
    for (int k = 0; k < 4; ++k)
        out.push_back(char(std::uint32_t(v) >> (8 * k) & 0xFF));
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::cerr << "usage: make_translate_dat OUT COLUMN=FILE...\n";
        return 2;
    }
    constexpr int kColumns = 30;
    std::vector<std::u16string> order; // German texts in first-seen order
    std::map<std::u16string, std::vector<std::u16string>> rows;
    for (int a = 2; a < argc; ++a) {
        const std::string spec = argv[a];
        const auto eq = spec.find('=');
        const int column = std::stoi(spec.substr(0, eq));
        std::ifstream in(spec.substr(eq + 1));
        if (!in || column < 1 || column >= kColumns) {
            std::cerr << "cannot read " << spec << "\n";
            return 1;
        }
        std::string line;
        int number = 0;
        while (std::getline(in, line)) {
            ++number;
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            if (line.empty() || line[0] == '#')
                continue;
            const auto tab = line.find('\t');
            if (tab == std::string::npos) {
                std::cerr << spec << ":" << number << ": no tab\n";
                return 1;
            }
            const std::u16string german = pm::fromUtf8(line.substr(0, tab));
            auto [it, fresh] = rows.try_emplace(german, kColumns);
            if (fresh)
                order.push_back(german);
            it->second[0] = german;
            it->second[std::size_t(column)] = pm::fromUtf8(line.substr(tab + 1));
        }
    }
    std::string out;
    put32(out, kColumns);
    put32(out, std::int32_t(order.size()));
    for (const std::u16string& g : order)
        for (const std::u16string& text : rows[g]) {
            put32(out, std::int32_t(text.size()));
            for (char16_t c : text) {
                out.push_back(char(c & 0xFF));
                out.push_back(char(c >> 8));
            }
        }
    const std::string tmp = std::string(argv[1]) + ".tmp";
    std::ofstream(tmp, std::ios::binary) << out;
    return std::rename(tmp.c_str(), argv[1]) == 0 ? 0 : 1;
}
