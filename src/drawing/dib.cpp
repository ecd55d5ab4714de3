#include "drawing/dib.h"

#include <cstdlib>
#include <cstring>

namespace pm {

namespace {
std::int32_t readI32(const std::uint8_t* p) {
    std::int32_t v;
    std::memcpy(&v, p, 4);
    return v;
}
} // namespace

void freedib(dib& d) {
    if (d.poih && d.poih != d.pmih)
        std::free(d.poih);
    if (d.pmih)
        std::free(d.pmih);
    d.pmih = nullptr;
    d.pmi = nullptr;
    d.poih = nullptr;
    d.poi = nullptr;
}

int dibwidth(const dib& d) {
    return d.pmi ? readI32(d.pmi + 4) : 0;
}

int dibheight(const dib& d) {
    return d.pmi ? readI32(d.pmi + 8) : 0;
}

int dibbitcount(const dib& d) {
    if (!d.pmi)
        return 0;
    std::uint16_t bits;
    std::memcpy(&bits, d.pmi + 14, 2);
    return bits;
}

std::int64_t dibcolors(const dib& d) {
    const int bits = dibbitcount(d);
    return bits >= 63 ? 0 : std::int64_t(1) << bits;
}

int dibPaletteEntries(const dib& d) {
    const int bits = dibbitcount(d);
    return bits >= 1 && bits <= 8 ? 1 << bits : 0;
}

const std::uint8_t* dibPalette(const dib& d) {
    return d.pmi ? d.pmi + kInfoHeaderSize : nullptr;
}

std::int64_t dibRowBytes(std::int64_t width, int bits) {
    if (width <= 0 || bits <= 0 || width > (std::int64_t(1) << 40) / bits)
        return -1;
    return (width * bits + 31) / 32 * 4;
}

} // namespace pm
