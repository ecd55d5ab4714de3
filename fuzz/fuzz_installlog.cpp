// Any bytes as Install.log: a sound install list or a refusal, never a crash.
#include "setup/installlog.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    setup::InstallLog log;
    setup::ReadInstallLog(std::string(reinterpret_cast<const char*>(data), size), log);
    return 0;
}
