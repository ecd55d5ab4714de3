#pragma once
// Drawing a rectangle of the picture scaled onto a device: the screen bitmap (rows scaled by
// the program), a printer or any other painter device (their own stretching, with fallbacks).

#include "drawing/dib.h"

#include <cstdint>

namespace pm {

class MessageService;

// 32-bit pixels 0xFFRRGGBB, rows top-down; `stride` counts pixels.
struct PixelSurface {
    std::uint32_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    int stride = 0;
    std::uint32_t* row(int y) const { return pixels + std::size_t(y) * std::size_t(stride); }
};

enum class RasterOp { Copy };

class DibDevice {
public:
    enum class BitmapResult { Ok, NoBitmap, NoSetBits, NoStretch };
    virtual ~DibDevice() = default;
    virtual bool isRasterPrinter() const = 0;
    // Bits per pixel of the screen the device belongs to.
    virtual int screenBits() const = 0;
    // The pixels the program scales rows into; null for devices that stretch themselves.
    virtual PixelSurface* surface() = 0;
    // The device's stretched bitmap drawing; false is its error value.
    virtual bool stretchDIBits(int x, int y, int dw, int dh, const dib& d, int sx, int sy, int sw,
                               int sh, RasterOp rop) = 0;
    // The device takes device-independent bitmaps directly.
    virtual bool canTakeDibs() const = 0;
    virtual bool setDIBitsToDevice(int x, int y, const dib& d) = 0;
    // The last resort: a device bitmap of the whole picture, its bits set, stretch-copied.
    virtual BitmapResult blitThroughBitmap(int x, int y, int dw, int dh, const dib& d, int sx,
                                           int sy, int sw, int sh, RasterOp rop) = 0;
};

// Nearest-neighbour scaling of the source rectangle (sy counted from the bottom row) into the
// surface; destination rows and columns outside the surface are skipped.
void scaleIntoSurface(const PixelSurface& s, int x, int y, int dw, int dh, const dib& d, int sx,
                      int sy, int sw, int sh);

void drawdib(DibDevice& device, int x, int y, int dw, int dh, const dib& d, int sx, int sy, int sw,
             int sh, bool halftone, RasterOp rop, MessageService* messages);

// A device over a pixel surface: the screen bitmap and the print preview.
class SurfaceDevice : public DibDevice {
public:
    SurfaceDevice(PixelSurface s, int screenBits) : surface_(s), screenBits_(screenBits) {}
    bool isRasterPrinter() const override { return false; }
    int screenBits() const override { return screenBits_; }
    PixelSurface* surface() override { return &surface_; }
    bool stretchDIBits(int x, int y, int dw, int dh, const dib& d, int sx, int sy, int sw, int sh,
                       RasterOp) override {
        scaleIntoSurface(surface_, x, y, dw, dh, d, sx, sy, sw, sh);
        return true;
    }
    bool canTakeDibs() const override { return true; }
    bool setDIBitsToDevice(int x, int y, const dib& d) override {
        scaleIntoSurface(surface_, x, y, dibwidth(d), dibheight(d), d, 0, 0, dibwidth(d),
                         dibheight(d));
        return true;
    }
    BitmapResult blitThroughBitmap(int x, int y, int dw, int dh, const dib& d, int sx, int sy,
                                   int sw, int sh, RasterOp) override {
        scaleIntoSurface(surface_, x, y, dw, dh, d, sx, sy, sw, sh);
        return BitmapResult::Ok;
    }

private:
    PixelSurface surface_;
    int screenBits_;
};

} // namespace pm
