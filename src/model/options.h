#pragma once
// The options file: the interface language as 4 bytes, in the program data folder.

#include <optional>
#include <string>

namespace pm {

// <data home>/Tervalo/Picmetra/, or the program folder when there is no data home; with
// `create` every missing level is made.
std::string GetProgramDir(bool create, const std::string& dataHome, const std::string& progpath);

// The language index, or nothing when the file is missing, short, or holds an index outside
// 0 to 29.
std::optional<int> LoadOptions(const std::string& fileName);
std::optional<int> parseOptions(const unsigned char* data, std::size_t size);
// Writes the index through a temporary file; false (and nothing reported) when it cannot.
bool SaveOptions(const std::string& fileName, int language);

} // namespace pm
