#include "acquire/rasterio.h"
#include "drawing/dib.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

namespace pm {
namespace {

TEST(Dib, RowsArePaddedToMultiplesOfFourBytes) {
    const struct {
        int width, bits, bytew;
    } cases[] = {{5, 24, 16}, {4, 24, 12}, {1, 1, 4}, {33, 1, 8}, {9, 4, 8}, {320, 24, 960}};
    for (const auto& c : cases) {
        dib d;
        newdib(d, c.width, 2, c.bits, nullptr, 0);
        ASSERT_NE(d.poi, nullptr);
        EXPECT_EQ(d.bytew, c.bytew) << c.width << "x" << c.bits;
        EXPECT_EQ(dibwidth(d), c.width);
        EXPECT_EQ(dibheight(d), 2);
        EXPECT_EQ(dibbitcount(d), c.bits);
        freedib(d);
    }
}

TEST(Dib, FreedibReleasesOnceAndQueriesOfReleasedRecordAreZero) {
    dib d;
    newdib(d, 3, 3, 8, nullptr, 0);
    ASSERT_EQ(d.poih, d.pmih); // one block holds info and rows
    freedib(d);
    freedib(d); // the second call does nothing
    EXPECT_EQ(d.pmi, nullptr);
    EXPECT_EQ(d.poi, nullptr);
    EXPECT_EQ(dibwidth(d), 0);
    EXPECT_EQ(dibheight(d), 0);
    EXPECT_EQ(dibbitcount(d), 0);

    // Separate blocks are both released.
    d.pmih = std::calloc(kInfoHeaderSize, 1);
    d.pmi = static_cast<std::uint8_t*>(d.pmih);
    d.poih = std::calloc(16, 1);
    d.poi = static_cast<std::uint8_t*>(d.poih);
    freedib(d);
    EXPECT_EQ(d.poih, nullptr);
}

TEST(Dib, ColoursArePowersOfTheBitCount) {
    for (int bits : {1, 4, 8, 24}) {
        dib d;
        newdib(d, 2, 2, bits, nullptr, 0);
        EXPECT_EQ(dibcolors(d), std::int64_t(1) << bits);
        freedib(d);
    }
}

TEST(Dib, RowsAreStoredBottomUp) {
    dib d;
    newdib(d, 2, 3, 24, nullptr, 0);
    setpixel(d, 1, 0, 0x112233); // top row, second pixel
    // The top row is the last in memory; blue first.
    const std::uint8_t* top = d.poi + 2 * d.bytew;
    EXPECT_EQ(top[3], 0x33);
    EXPECT_EQ(top[4], 0x22);
    EXPECT_EQ(top[5], 0x11);
    EXPECT_EQ(getpixel(d, 1, 0), 0x112233u);
    EXPECT_EQ(getpixel(d, 1, 2), 0u);
    freedib(d);
}

TEST(Rasterio, NewdibRefusesImpossiblePictures) {
    const struct {
        int w, h, bits;
    } cases[] = {{0, 5, 24}, {5, -1, 24}, {5, 5, 16}, {5, 5, 32}, {100000, 100000, 24}};
    for (const auto& c : cases) {
        dib d;
        newdib(d, c.w, c.h, c.bits, nullptr, 0);
        EXPECT_EQ(d.poi, nullptr);
        EXPECT_EQ(d.pmi, nullptr);
    }
}

TEST(Rasterio, PixelAccessAtEveryDepthAndPaletteTaken) {
    std::uint8_t info[kInfoHeaderSize + 256 * 4] = {};
    info[kInfoHeaderSize + 4 + 2] = 0xFF; // entry 1: red
    for (int bits : {1, 4, 8}) {
        dib d;
        newdib(d, 11, 3, bits, info, 2);
        ASSERT_NE(d.poi, nullptr);
        const std::uint32_t top = (1u << bits) - 1;
        setpixel(d, 0, 0, top);
        setpixel(d, 9, 2, 1);
        setpixel(d, 10, 2, 0);
        setpixel(d, -1, 0, 1); // outside: ignored
        setpixel(d, 11, 0, 1);
        EXPECT_EQ(getpixel(d, 0, 0), top) << bits;
        EXPECT_EQ(getpixel(d, 1, 0), 0u) << bits;
        EXPECT_EQ(getpixel(d, 9, 2), 1u) << bits;
        EXPECT_EQ(getpixel(d, 10, 2), 0u) << bits;
        EXPECT_EQ(getcolor(d, 9, 2), 0xFF0000u) << bits;
        EXPECT_EQ(getpixel(d, 11, 0), 0u) << bits;
        freedib(d);
    }
    // 4 bits: the left pixel is the high nibble.
    dib d;
    newdib(d, 2, 1, 4, nullptr, 0);
    setpixel(d, 0, 0, 0xA);
    setpixel(d, 1, 0, 0x5);
    EXPECT_EQ(d.poi[0], 0xA5);
    freedib(d);
}

TEST(Rasterio, HalftoneKeepsPureColoursAndScales) {
    dib src;
    newdib(src, 4, 4, 24, nullptr, 0);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            setpixel(src, x, y, x < 2 ? 0xFFFFFF : 0x0000FF);
    dib out;
    DIBHalftoneDIB(out, src);
    ASSERT_NE(out.poi, nullptr);
    EXPECT_EQ(dibbitcount(out), 8);
    EXPECT_EQ(getcolor(out, 0, 0), 0xFFFFFFu);
    EXPECT_EQ(getcolor(out, 3, 3), 0x0000FFu);
    deldib(out);

    DIBHalftoneDIBXY(out, src, 8, 2);
    EXPECT_EQ(dibwidth(out), 8);
    EXPECT_EQ(dibheight(out), 2);
    EXPECT_EQ(getcolor(out, 7, 1), 0x0000FFu);
    deldib(out);

    // A mid grey dithers to a mixture whose mean stays close to the grey.
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            setpixel(src, x, y, 0x808080);
    DIBHalftoneDIB(out, src);
    int sum = 0;
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            sum += int(getcolor(out, x, y) & 0xFF);
    EXPECT_NEAR(sum / 16.0, 128, 8);
    deldib(out);
    freedib(src);
}

} // namespace
} // namespace pm
