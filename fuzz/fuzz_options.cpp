// Any bytes as options.dat: a language index from 0 to 29, or none.
#include "model/options.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::optional<int> index = pm::parseOptions(data, size);
    if (index && (*index < 0 || *index > 29))
        std::abort();
    return 0;
}
