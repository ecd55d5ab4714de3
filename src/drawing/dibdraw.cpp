#include "drawing/dibdraw.h"

#include "acquire/rasterio.h"
#include "drawing/view.h"
#include "model/services.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace pm {

namespace {

std::uint32_t opaque(std::uint32_t rgb) {
    return 0xFF000000u | rgb;
}

// The picture's colour table as surface pixels.
std::vector<std::uint32_t> paletteColours(const dib& d) {
    std::vector<std::uint32_t> colours(256, 0xFF000000u);
    const std::uint8_t* e = dibPalette(d);
    for (int i = 0; e && i < dibPaletteEntries(d); ++i)
        colours[std::size_t(i)] =
            opaque(std::uint32_t(e[4 * i]) | std::uint32_t(e[4 * i + 1]) << 8 |
                   std::uint32_t(e[4 * i + 2]) << 16);
    return colours;
}

// The source row for a source index s counted from the top, or null outside the picture.
const std::uint8_t* sourceRow(const dib& d, std::int64_t s) {
    const std::int64_t height = dibheight(d);
    if (s < 0 || s > height - 1)
        return nullptr;
    return d.poi + std::size_t(height - 1 - s) * std::size_t(d.bytew);
}

} // namespace

void scaleIntoSurface(const PixelSurface& surf, int x, int y, int dw, int dh, const dib& d, int sx,
                      int sy, int sw, int sh) {
    if (!d.poi || dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0 || !surf.pixels)
        return;
    const int width = dibwidth(d);
    const int height = dibheight(d);
    const int bits = dibbitcount(d);
    // Only the destination columns and rows that land on the surface are computed; the visible
    // result is the same as scaling the whole rectangle.
    const int i0 = std::max(0, -x);
    const int i1 = int(std::min<std::int64_t>(dw, std::int64_t(surf.width) - x));
    const int r0 = std::max(0, -y);
    const int r1 = int(std::min<std::int64_t>(dh, std::int64_t(surf.height) - y));
    if (i0 >= i1 || r0 >= r1)
        return;

    // Column map, once: source column of each visible destination column (-1 outside).
    std::vector<int> cols(std::size_t(i1 - i0));
    for (int i = i0; i < i1; ++i) {
        const std::int64_t c = sx + std::int64_t(sw) * i / dw;
        cols[std::size_t(i - i0)] = c >= 0 && c < width ? int(c) : -1;
    }
    const std::vector<std::uint32_t> palette =
        bits <= 8 ? paletteColours(d) : std::vector<std::uint32_t>();
    const std::uint32_t empty = bits == 24 ? 0xFF000000u : (bits <= 8 ? palette[0] : 0xFF000000u);

    const std::int64_t t0 = std::int64_t(height) - sy - sh;
    std::int64_t lastRow = -1;
    std::uint32_t* lastDst = nullptr;
    for (int r = r0; r < r1; ++r) {
        const std::int64_t s = t0 + std::int64_t(sh) * r / dh;
        std::uint32_t* dst = surf.row(y + r) + x + i0;
        if (lastDst && s == lastRow) { // the same source row: reuse what was just written
            std::memcpy(dst, lastDst, cols.size() * sizeof(std::uint32_t));
            continue;
        }
        const std::uint8_t* src = sourceRow(d, s);
        if (!src) {
            std::fill(dst, dst + cols.size(), empty);
        } else {
            const std::size_t n = cols.size();
            switch (bits) {
            case 24:
                for (std::size_t k = 0; k < n; ++k) {
                    const int c = cols[k];
                    if (c < 0) {
                        dst[k] = 0xFF000000u;
                        continue;
                    }
                    const std::uint8_t* p = src + 3 * std::size_t(c);
                    dst[k] =
                        0xFF000000u | std::uint32_t(p[2]) << 16 | std::uint32_t(p[1]) << 8 | p[0];
                }
                break;
            case 8:
                for (std::size_t k = 0; k < n; ++k)
                    dst[k] = cols[k] < 0 ? palette[0] : palette[src[cols[k]]];
                break;
            case 4:
                for (std::size_t k = 0; k < n; ++k) {
                    const int c = cols[k];
                    dst[k] = c < 0 ? palette[0]
                                   : palette[(c & 1) ? src[c >> 1] & 0x0F : src[c >> 1] >> 4];
                }
                break;
            case 1:
                for (std::size_t k = 0; k < n; ++k) {
                    const int c = cols[k];
                    dst[k] = c < 0 ? palette[0] : palette[src[c >> 3] >> (7 - (c & 7)) & 1];
                }
                break;
            default:
                std::fill(dst, dst + n, empty);
                break;
            }
        }
        lastRow = s;
        lastDst = dst;
    }
}

namespace {

// Resamples the source rectangle to dw x dh for devices that take bitmaps directly.
void resample(dib& out, const dib& d, int dw, int dh, int sx, int sy, int sw, int sh) {
    const int bits = dibbitcount(d);
    const int entries = bits <= 8 ? 1 << bits : 0;
    newdib(out, dw, dh, bits, entries ? d.pmi : nullptr, entries);
    if (!out.poi)
        return;
    for (int j = 0; j < dh; ++j) { // rows from the bottom
        const std::int64_t srow = dh > 1 ? sy + std::int64_t(sh - 1) * j / (dh - 1) : sy;
        const std::uint8_t* src = d.poi + std::size_t(srow) * std::size_t(d.bytew);
        std::uint8_t* dst = out.poi + std::size_t(j) * std::size_t(out.bytew);
        for (int i = 0; i < dw; ++i) {
            const std::int64_t sc = dw > 1 ? sx + std::int64_t(sw - 1) * i / (dw - 1) : sx;
            switch (bits) {
            case 1: // through the pixel access, y counted from the top
                setpixel(out, i, dh - 1 - j, getpixel(d, int(sc), dibheight(d) - 1 - int(srow)));
                break;
            case 4: {
                const std::uint8_t b = src[sc >> 1];
                const std::uint8_t v = (sc & 1) ? b & 0x0F : b >> 4;
                dst[i >> 1] |= (i & 1) ? v : std::uint8_t(v << 4);
                break;
            }
            case 8:
                dst[i] = src[sc];
                break;
            case 24:
                std::memcpy(dst + 3 * std::size_t(i), src + 3 * std::size_t(sc), 3);
                break;
            default:
                break;
            }
        }
    }
}

void deviceChain(DibDevice& dev, int x, int y, int dw, int dh, const dib& d, int sx, int sy, int sw,
                 int sh, RasterOp rop, MessageService* messages) {
    if (dev.stretchDIBits(x, y, dw, dh, d, sx, sy, sw, sh, rop))
        return;
    if (dev.canTakeDibs()) {
        dib copy;
        resample(copy, d, dw, dh, sx, sy, sw, sh);
        const bool ok = copy.poi && dev.setDIBitsToDevice(x, y, copy);
        deldib(copy);
        if (ok)
            return;
    }
    auto say = [messages](const char16_t* text) {
        if (messages)
            messages->show(text, u"", MsgIcon::None);
    };
    switch (dev.blitThroughBitmap(x, y, dw, dh, d, sx, sy, sw, sh, rop)) {
    case DibDevice::BitmapResult::Ok:
        break;
    case DibDevice::BitmapResult::NoBitmap:
        say(u"Could not create bitmap.");
        break;
    case DibDevice::BitmapResult::NoSetBits:
        say(u"The device does not support the Funtkion setdibits!");
        break;
    case DibDevice::BitmapResult::NoStretch:
        say(u"The device does not support the function StretchBlt!");
        break;
    }
}

} // namespace

void drawdib(DibDevice& device, int x, int y, int dw, int dh, const dib& d, int sx, int sy, int sw,
             int sh, bool halftone, RasterOp rop, MessageService* messages) {
    if (!d.pmi || !d.poi || sw <= 0 || sh <= 0)
        return;
    const int width = dibwidth(d);
    const int height = dibheight(d);
    // Clip the source to the picture; the destination follows in proportion.
    if (sx + sw > width) {
        const int k = width - sx;
        dw = int(R(double(dw) * k / sw));
        sw = k;
    }
    if (sy < 0) {
        dh = int(R(double(dh) * (sh + sy) / sh));
        sh = sh + sy;
        sy = 0;
    }
    if (sy + sh > height) {
        const int k = height - sy;
        const int t = int(R(double(dh) * k / sh));
        y += dh - t;
        dh = t;
        sh = k;
    }
    if (sx < 0) {
        const int t = int(R(double(dw) * (sw + sx) / sw));
        x += dw - t;
        dw = t;
        sw = sw + sx;
        sx = 0;
    }
    if (sw <= 0 || sh <= 0 || dw <= 0 || dh <= 0)
        return;

    const int bits = dibbitcount(d);
    if (bits == 24 && halftone && device.screenBits() <= 8) {
        dib copy;
        if (dw < sw || dh < sh) {
            const int cw = int(R(double(width) * dw / sw));
            const int ch = int(R(double(height) * dh / sh));
            DIBHalftoneDIBXY(copy, d, std::max(cw, 1), std::max(ch, 1));
            if (copy.poi)
                device.stretchDIBits(x, y, dw, dh, copy,
                                     int(R(double(dibwidth(copy)) * sx / width)),
                                     int(R(double(dibheight(copy)) * sy / height)), dw, dh, rop);
        } else {
            DIBHalftoneDIB(copy, d);
            if (copy.poi)
                device.stretchDIBits(x, y, dw, dh, copy, sx, sy, sw, sh, rop);
        }
        deldib(copy);
        return;
    }
    if ((bits == 24 || bits == 8) && !device.isRasterPrinter() && device.surface()) {
        scaleIntoSurface(*device.surface(), x, y, dw, dh, d, sx, sy, sw, sh);
        return;
    }
    deviceChain(device, x, y, dw, dh, d, sx, sy, sw, sh, rop, messages);
}

} // namespace pm
