#include "acquire/rasterio.h"
#include "drawing/dibdraw.h"
#include "support/fakes.h"

#include <gtest/gtest.h>

#include <vector>

namespace pm {
namespace {

struct Surface {
    Surface(int w, int h) : pixels(std::size_t(w) * h, 0xFF123456u), s{pixels.data(), w, h, w} {}
    std::uint32_t at(int x, int y) const {
        return pixels[std::size_t(y) * s.stride + x] & 0xFFFFFF;
    }
    std::vector<std::uint32_t> pixels;
    PixelSurface s;
};

// A picture whose pixel (x, y) has the colour 0x00xxyy (y from the top).
dib numbered(int w, int h, int bits = 24) {
    dib d;
    if (bits == 24) {
        newdib(d, w, h, 24, nullptr, 0);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                setpixel(d, x, y, std::uint32_t(x << 8 | y));
        return d;
    }
    std::uint8_t info[kInfoHeaderSize + 256 * 4] = {};
    for (int i = 0; i < 256; ++i)
        info[kInfoHeaderSize + 4 * i] = std::uint8_t(i); // entry i: blue = i
    newdib(d, w, h, bits, info, 1 << bits);
    const int mask = (1 << bits) - 1;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            setpixel(d, x, y, std::uint32_t((x + 4 * y) & mask));
    return d;
}

std::vector<int> sourceColumns(const Surface& s, int y, int n) {
    std::vector<int> cols;
    for (int x = 0; x < n; ++x)
        cols.push_back(int(s.at(x, y) >> 8));
    return cols;
}

TEST(DrawDib, ColumnMapIsNearestNeighbourByIntegerDivision) {
    dib d = numbered(4, 2);
    Surface wide(8, 2), narrow(2, 2);
    SurfaceDevice a(wide.s, 32), b(narrow.s, 32);
    drawdib(a, 0, 0, 8, 2, d, 0, 0, 4, 2, false, RasterOp::Copy, nullptr);
    EXPECT_EQ(sourceColumns(wide, 0, 8), (std::vector<int>{0, 0, 1, 1, 2, 2, 3, 3}));
    drawdib(b, 0, 0, 2, 2, d, 0, 0, 4, 2, false, RasterOp::Copy, nullptr);
    EXPECT_EQ(sourceColumns(narrow, 0, 2), (std::vector<int>{0, 2}));
    freedib(d);
}

TEST(DrawDib, DoubledHeightRepeatsEachSourceRowAndTopStaysTop) {
    dib d = numbered(3, 3);
    Surface s(3, 6);
    SurfaceDevice dev(s.s, 32);
    drawdib(dev, 0, 0, 3, 6, d, 0, 0, 3, 3, false, RasterOp::Copy, nullptr);
    for (int r = 0; r < 6; ++r)
        EXPECT_EQ(int(s.at(2, r) & 0xFF), r / 2) << r;
    freedib(d);
}

TEST(DrawDib, PartlyOffSurfaceDrawsTheVisiblePartOnly) {
    dib d = numbered(10, 10);
    Surface s(6, 6);
    SurfaceDevice dev(s.s, 32);
    // 10 x 10 at 3x, 12 pixels left of and 9 above the surface.
    drawdib(dev, -12, -9, 30, 30, d, 0, 0, 10, 10, false, RasterOp::Copy, nullptr);
    EXPECT_EQ(s.at(0, 0), std::uint32_t(4 << 8 | 3));
    EXPECT_EQ(s.at(5, 5), std::uint32_t(5 << 8 | 4));

    // A 320-pixel picture at 30000 %: only the visible corner is computed.
    dib white;
    newdib(white, 320, 320, 24, nullptr, 0);
    setpixel(white, 319, 319, 0xFFFFFF);
    Surface corner(4, 4);
    SurfaceDevice dev2(corner.s, 32);
    drawdib(dev2, -95700 + 2, -95700 + 2, 96000, 96000, white, 0, 0, 320, 320, false,
            RasterOp::Copy, nullptr);
    EXPECT_EQ(corner.at(0, 0), 0u);        // pixel (318, 318)
    EXPECT_EQ(corner.at(3, 3), 0xFFFFFFu); // pixel (319, 319)
    freedib(white);
    freedib(d);
}

TEST(DrawDib, SourceBelowThePictureLosesItsShareAtTheBottom) {
    dib d = numbered(2, 10);
    Surface s(2, 20);
    SurfaceDevice dev(s.s, 32);
    // sy = -5, sh = 15: 5 of the 15 source rows do not exist; dh 15 becomes 10, y stays.
    drawdib(dev, 0, 0, 2, 15, d, 0, -5, 2, 15, false, RasterOp::Copy, nullptr);
    EXPECT_EQ(s.at(0, 0) & 0xFF, 0u);
    EXPECT_EQ(s.at(0, 9) & 0xFF, 9u);
    EXPECT_EQ(s.at(0, 10), 0x123456u); // untouched below
    freedib(d);
}

TEST(DrawDib, PaletteDepthsOnTheSurface) {
    for (int bits : {1, 4, 8}) {
        dib d = numbered(6, 2, bits);
        Surface s(12, 2);
        SurfaceDevice dev(s.s, 32);
        drawdib(dev, 0, 0, 12, 2, d, 0, 0, 6, 2, false, RasterOp::Copy, nullptr);
        const std::uint32_t mask = (1u << bits) - 1;
        for (int x = 0; x < 12; ++x)
            EXPECT_EQ(s.at(x, 1), (std::uint32_t(x / 2) + 4) & mask) << bits << " " << x;
        freedib(d);
    }
}

// A printer that refuses what it is told to.
class FakePrinter : public DibDevice {
public:
    bool isRasterPrinter() const override { return true; }
    int screenBits() const override { return bits; }
    PixelSurface* surface() override { return nullptr; }
    bool stretchDIBits(int, int, int, int, const dib& d, int, int, int, int, RasterOp) override {
        stretchedBits.push_back(dibbitcount(d));
        return stretchOk;
    }
    bool canTakeDibs() const override { return dibToDev; }
    bool setDIBitsToDevice(int, int, const dib& d) override {
        sent.clear();
        for (int x = 0; x < dibwidth(d); ++x)
            sent.push_back(getpixel(d, x, 0));
        return setOk;
    }
    BitmapResult blitThroughBitmap(int, int, int, int, const dib&, int, int, int, int,
                                   RasterOp) override {
        ++blits;
        return blit;
    }
    int bits = 32;
    bool stretchOk = false, dibToDev = false, setOk = false;
    BitmapResult blit = BitmapResult::Ok;
    std::vector<int> stretchedBits;
    std::vector<std::uint32_t> sent;
    int blits = 0;
};

TEST(DrawDib, PrinterChainResamplesFourBitPicturesByNibbles) {
    dib d = numbered(4, 1, 4); // values 0, 1, 2, 3 (top row)
    FakePrinter p;
    p.dibToDev = true;
    p.setOk = true;
    drawdib(p, 0, 0, 7, 1, d, 0, 0, 4, 1, false, RasterOp::Copy, nullptr);
    // Column i takes source column (4 - 1) * i div (7 - 1): 0 0 1 1 2 2 3.
    EXPECT_EQ(p.sent, (std::vector<std::uint32_t>{0, 0, 1, 1, 2, 2, 3}));
    EXPECT_EQ(p.blits, 0);
    freedib(d);
}

TEST(DrawDib, PrinterChainFallsBackAndSaysWhatTheDeviceRefused) {
    const struct {
        DibDevice::BitmapResult result;
        const char* message;
    } cases[] = {
        {DibDevice::BitmapResult::Ok, nullptr},
        {DibDevice::BitmapResult::NoBitmap, "Could not create bitmap."},
        {DibDevice::BitmapResult::NoSetBits, "The device does not support the Funtkion setdibits!"},
        {DibDevice::BitmapResult::NoStretch,
         "The device does not support the function StretchBlt!"},
    };
    dib d = numbered(4, 4);
    for (const auto& c : cases) {
        test::FakeMessages msgs;
        FakePrinter p;
        p.dibToDev = true; // taken, but the output fails
        p.blit = c.result;
        drawdib(p, 0, 0, 8, 8, d, 0, 0, 4, 4, false, RasterOp::Copy, &msgs);
        EXPECT_EQ(p.blits, 1);
        if (c.message) {
            ASSERT_EQ(msgs.shown.size(), 1u);
            EXPECT_EQ(msgs.shown[0].text, c.message);
        } else {
            EXPECT_TRUE(msgs.shown.empty());
        }
    }
    FakePrinter willing;
    willing.stretchOk = true;
    drawdib(willing, 0, 0, 8, 8, d, 0, 0, 4, 4, false, RasterOp::Copy, nullptr);
    EXPECT_EQ(willing.blits, 0);
    freedib(d);
}

TEST(DrawDib, HalftoneOnlyForTrueColourOnPaletteScreensWhenAsked) {
    dib d = numbered(8, 8);
    FakePrinter dev; // any device: the halftone path comes first
    dev.stretchOk = true;
    dev.bits = 8;
    drawdib(dev, 0, 0, 4, 4, d, 0, 0, 8, 8, true, RasterOp::Copy, nullptr);
    drawdib(dev, 0, 0, 16, 16, d, 0, 0, 8, 8, true, RasterOp::Copy, nullptr);
    drawdib(dev, 0, 0, 16, 16, d, 0, 0, 8, 8, false, RasterOp::Copy, nullptr);
    dev.bits = 24;
    drawdib(dev, 0, 0, 16, 16, d, 0, 0, 8, 8, true, RasterOp::Copy, nullptr);
    EXPECT_EQ(dev.stretchedBits, (std::vector<int>{8, 8, 24, 24}));
    freedib(d);
}

} // namespace
} // namespace pm
