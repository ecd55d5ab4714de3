#pragma once
// The raster library layer: empty pictures, pixel access, halftoning, and decoding picture
// files. Every record it fills owns its blocks; release them with deldib or freedib.

#include "drawing/dib.h"

#include <cstdint>
#include <string>

namespace pm {

// Pictures above this many pixels are refused instead of exhausting memory.
constexpr std::int64_t kMaxDibPixels = std::int64_t(600) * 1000 * 1000;

// A picture of width x height at 1, 4, 8 or 24 bits, every row byte 0. For palette pictures
// the first `ncolors` entries of `colourInfo`'s colour table are taken (the rest are black).
// On failure `out.poi` is null and nothing is held.
void newdib(dib& out, int width, int height, int bits, const std::uint8_t* colourInfo, int ncolors);
void deldib(dib d);
// Pixel value at (x, y), y counted from the top: the colour index of palette pictures, and
// 0xRRGGBB for 24 bits. Outside the picture: 0.
std::uint32_t getpixel(const dib& d, int x, int y);
void setpixel(const dib& d, int x, int y, std::uint32_t value);
// The colour at (x, y) as 0xRRGGBB whatever the depth.
std::uint32_t getcolor(const dib& d, int x, int y);
// An 8-bit, ordered-dither copy of a picture for palette displays.
void DIBHalftoneDIB(dib& out, const dib& src);
void DIBHalftoneDIBXY(dib& out, const dib& src, int width, int height);

// Decodes a picture file; `out.poi` is null exactly when that failed.
void OpenDib(dib& out, const std::string& fileName);
// The open dialog's filter, "description|patterns|...", of what can really be read.
std::string GetDIBOpenFilter();

} // namespace pm
