#pragma once
// The picture record: a device-independent bitmap in memory. The info block is a 40-byte
// BITMAPINFOHEADER followed by the colour table; rows are bottom-up, each `bytew` bytes, a
// multiple of 4; 24-bit pixels are blue, green, red.

#include <cstddef>
#include <cstdint>

namespace pm {

struct LPAL {
    std::uint16_t ver;
    std::uint16_t num;
    std::uint8_t rgb0[256][4];
};

struct dib {
    std::uint8_t* pmi = nullptr; // info block; null when no picture is held
    void* poih = nullptr;        // block holding the pixel rows (may be the info block)
    void* pmih = nullptr;        // block holding the info block
    std::uint8_t* poi = nullptr; // first byte of the bottom row; null when no picture is held
    std::int32_t bytew = 0;
    std::uint8_t ispal = 0;
    LPAL pal{};
    void* NOTUSEDINFIXEDMEMlp = nullptr;
    std::int32_t zoom = 0;
    std::int32_t scx = 0, scy = 0;
    std::int32_t mx1 = 0, my1 = 0, mx2 = 0, my2 = 0;
};

constexpr int kInfoHeaderSize = 40;

void freedib(dib& d);
int dibwidth(const dib& d);
int dibheight(const dib& d);
int dibbitcount(const dib& d);
// 2 to the power of the bit count (the colour-table size of palette pictures).
std::int64_t dibcolors(const dib& d);
// Colour-table entries of a palette picture (0 for 24 bits).
int dibPaletteEntries(const dib& d);
const std::uint8_t* dibPalette(const dib& d); // B, G, R, 0 per entry
// Bytes per row for a width and bit count, rounded up to a multiple of 4; -1 when too large.
std::int64_t dibRowBytes(std::int64_t width, int bits);
// Row r counted from the top of the picture.
inline std::uint8_t* dibRowFromTop(const dib& d, int r) {
    return d.poi + std::size_t(dibheight(d) - 1 - r) * std::size_t(d.bytew);
}

} // namespace pm
