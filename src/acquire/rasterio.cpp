#include "acquire/rasterio.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace pm {

namespace {
void putI32(std::uint8_t* p, std::int32_t v) {
    std::memcpy(p, &v, 4);
}
void putU16(std::uint8_t* p, std::uint16_t v) {
    std::memcpy(p, &v, 2);
}

bool validDepth(int bits) {
    return bits == 1 || bits == 4 || bits == 8 || bits == 24;
}

// The halftone palette: 6 levels of red, 7 of green, 6 of blue (252 colours).
constexpr int kR = 6, kG = 7, kB = 6;
constexpr int kBayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};

std::uint8_t ditherLevel(int value, int levels, int threshold) {
    // value 0..255 to 0..levels-1, the fraction decided by the ordered-dither threshold.
    const int scaled = value * (levels - 1) * 16 / 255;
    int level = scaled / 16;
    if (scaled % 16 > threshold)
        ++level;
    return std::uint8_t(std::min(level, levels - 1));
}

void halftoneInto(dib& out, const dib& src, int width, int height) {
    std::uint8_t info[kInfoHeaderSize + 256 * 4] = {};
    for (int r = 0; r < kR; ++r)
        for (int g = 0; g < kG; ++g)
            for (int b = 0; b < kB; ++b) {
                std::uint8_t* e = info + kInfoHeaderSize + 4 * ((r * kG + g) * kB + b);
                e[0] = std::uint8_t(b * 255 / (kB - 1));
                e[1] = std::uint8_t(g * 255 / (kG - 1));
                e[2] = std::uint8_t(r * 255 / (kR - 1));
            }
    newdib(out, width, height, 8, info, kR * kG * kB);
    if (!out.poi)
        return;
    const int sw = dibwidth(src), sh = dibheight(src);
    for (int y = 0; y < height; ++y) {
        const int sy = int(std::int64_t(y) * sh / height);
        std::uint8_t* row = dibRowFromTop(out, y);
        for (int x = 0; x < width; ++x) {
            const int sx = int(std::int64_t(x) * sw / width);
            const std::uint32_t c = getcolor(src, sx, sy);
            const int t = kBayer[y & 3][x & 3];
            const int r = ditherLevel(int(c >> 16 & 0xFF), kR, t);
            const int g = ditherLevel(int(c >> 8 & 0xFF), kG, t);
            const int b = ditherLevel(int(c & 0xFF), kB, t);
            row[x] = std::uint8_t((r * kG + g) * kB + b);
        }
    }
}
} // namespace

void newdib(dib& out, int width, int height, int bits, const std::uint8_t* colourInfo,
            int ncolors) {
    out = dib{};
    if (width <= 0 || height <= 0 || !validDepth(bits) ||
        std::int64_t(width) * height > kMaxDibPixels)
        return;
    const std::int64_t bytew = dibRowBytes(width, bits);
    const int entries = bits <= 8 ? 1 << bits : 0;
    const std::size_t infoSize = kInfoHeaderSize + std::size_t(entries) * 4;
    const std::size_t rows = std::size_t(bytew) * std::size_t(height);
    auto* block = static_cast<std::uint8_t*>(std::calloc(infoSize + rows, 1));
    if (!block)
        return;
    putI32(block + 0, kInfoHeaderSize);
    putI32(block + 4, width);
    putI32(block + 8, height);
    putU16(block + 12, 1);
    putU16(block + 14, std::uint16_t(bits));
    putI32(block + 16, 0); // no compression
    putI32(block + 20,
           rows <= std::size_t(std::numeric_limits<std::int32_t>::max()) ? std::int32_t(rows) : 0);
    putI32(block + 32, entries);
    if (entries && colourInfo && ncolors > 0)
        std::memcpy(block + kInfoHeaderSize, colourInfo + kInfoHeaderSize,
                    std::size_t(std::min(ncolors, entries)) * 4);
    out.pmi = block;
    out.pmih = block;
    out.poih = block;
    out.poi = block + infoSize;
    out.bytew = std::int32_t(bytew);
}

void deldib(dib d) {
    freedib(d);
}

std::uint32_t getpixel(const dib& d, int x, int y) {
    if (!d.poi || x < 0 || y < 0 || x >= dibwidth(d) || y >= dibheight(d))
        return 0;
    const std::uint8_t* row = dibRowFromTop(d, y);
    switch (dibbitcount(d)) {
    case 1:
        return row[x >> 3] >> (7 - (x & 7)) & 1;
    case 4:
        return (x & 1) ? row[x >> 1] & 0x0F : row[x >> 1] >> 4;
    case 8:
        return row[x];
    case 24: {
        const std::uint8_t* p = row + std::size_t(x) * 3;
        return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16;
    }
    default:
        return 0;
    }
}

void setpixel(const dib& d, int x, int y, std::uint32_t value) {
    if (!d.poi || x < 0 || y < 0 || x >= dibwidth(d) || y >= dibheight(d))
        return;
    std::uint8_t* row = dibRowFromTop(d, y);
    switch (dibbitcount(d)) {
    case 1: {
        const std::uint8_t mask = std::uint8_t(0x80 >> (x & 7));
        row[x >> 3] = (value & 1) ? row[x >> 3] | mask : row[x >> 3] & ~mask;
        break;
    }
    case 4: {
        std::uint8_t& b = row[x >> 1];
        b = (x & 1) ? std::uint8_t((b & 0xF0) | (value & 0x0F))
                    : std::uint8_t((b & 0x0F) | (value & 0x0F) << 4);
        break;
    }
    case 8:
        row[x] = std::uint8_t(value);
        break;
    case 24: {
        std::uint8_t* p = row + std::size_t(x) * 3;
        p[0] = std::uint8_t(value);
        p[1] = std::uint8_t(value >> 8);
        p[2] = std::uint8_t(value >> 16);
        break;
    }
    default:
        break;
    }
}

std::uint32_t getcolor(const dib& d, int x, int y) {
    const std::uint32_t v = getpixel(d, x, y);
    if (dibbitcount(d) == 24)
        return v;
    const std::uint8_t* e = dibPalette(d);
    if (!e || v >= std::uint32_t(dibPaletteEntries(d)))
        return 0;
    e += 4 * v;
    return std::uint32_t(e[0]) | std::uint32_t(e[1]) << 8 | std::uint32_t(e[2]) << 16;
}

void DIBHalftoneDIB(dib& out, const dib& src) {
    DIBHalftoneDIBXY(out, src, dibwidth(src), dibheight(src));
}

void DIBHalftoneDIBXY(dib& out, const dib& src, int width, int height) {
    out = dib{};
    if (!src.poi || width <= 0 || height <= 0)
        return;
    halftoneInto(out, src, width, height);
}

} // namespace pm
