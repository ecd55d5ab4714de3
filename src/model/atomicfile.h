#pragma once
// Files that are rewritten whole go through a temporary file and a rename, so a failed write
// never destroys the previous file.

#include <string>
#include <string_view>

namespace pm {

// Writes `bytes` to `fileName` through "<fileName>.tmp"; with `flush` the data is on disk before
// the rename. False (and no trace left) when the file could not be written.
bool writeFileAtomically(const std::string& fileName, std::string_view bytes, bool flush = false);

} // namespace pm
