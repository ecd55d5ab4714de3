#include "acquire/rasterio.h"
#include "acquire/sanescan.h"

#include <gtest/gtest.h>

#include <cstring>

namespace pm {
namespace {

ScanFrame frame(ScanFrame::Format f, int depth, int w, int bpl, std::vector<unsigned char> bytes) {
    ScanFrame s;
    s.format = f;
    s.depth = depth;
    s.pixelsPerLine = w;
    s.bytesPerLine = bpl;
    s.bytes = std::move(bytes);
    return s;
}

TEST(ScanFrames, LineArtGreyAndColourBecomeTheirDepths) {
    std::string error;
    dib d;
    // Line art: 10 pixels, a set bit is black.
    ASSERT_TRUE(
        framesToDib({frame(ScanFrame::Gray, 1, 10, 2, {0x80, 0x40, 0x00, 0x00})}, d, error));
    EXPECT_EQ(dibbitcount(d), 1);
    EXPECT_EQ(dibheight(d), 2);
    EXPECT_EQ(getcolor(d, 0, 0), 0x000000u);
    EXPECT_EQ(getcolor(d, 1, 0), 0xFFFFFFu);
    EXPECT_EQ(getcolor(d, 9, 0), 0x000000u);
    freedib(d);

    // Grey at 16 bits: the high byte counts.
    std::vector<unsigned char> g(4);
    const std::uint16_t samples[2] = {0x1234, 0xFF00};
    std::memcpy(g.data(), samples, 4);
    ASSERT_TRUE(framesToDib({frame(ScanFrame::Gray, 16, 2, 4, g)}, d, error));
    EXPECT_EQ(dibbitcount(d), 8);
    EXPECT_EQ(getcolor(d, 0, 0), 0x121212u);
    EXPECT_EQ(getcolor(d, 1, 0), 0xFFFFFFu);
    freedib(d);

    // Interleaved colour, and the same in three passes.
    ASSERT_TRUE(framesToDib({frame(ScanFrame::Rgb, 8, 2, 6, {10, 20, 30, 40, 50, 60})}, d, error));
    EXPECT_EQ(dibbitcount(d), 24);
    EXPECT_EQ(getcolor(d, 1, 0), 0x28323Cu);
    freedib(d);
    ASSERT_TRUE(framesToDib({frame(ScanFrame::Red, 8, 2, 2, {10, 40}),
                             frame(ScanFrame::Green, 8, 2, 2, {20, 50}),
                             frame(ScanFrame::Blue, 8, 2, 2, {30, 60})},
                            d, error));
    EXPECT_EQ(getcolor(d, 0, 0), 0x0A141Eu);
    EXPECT_EQ(getcolor(d, 1, 0), 0x28323Cu);
    freedib(d);
}

TEST(ScanFrames, FramesThatMakeNoPictureAreRefused) {
    const std::vector<std::vector<ScanFrame>> bad = {
        {},
        {frame(ScanFrame::Gray, 8, 0, 4, {1, 2, 3, 4})},  // no width
        {frame(ScanFrame::Gray, 8, 10, 4, {1, 2, 3, 4})}, // lines shorter than the width
        {frame(ScanFrame::Gray, 8, 4, 4, {1, 2})},        // not one whole line
        {frame(ScanFrame::Rgb, 1, 4, 4, {1, 2, 3, 4})},   // colour line art
        {frame(ScanFrame::Gray, 12, 2, 4, {1, 2, 3, 4})}, // an odd depth
    };
    for (const auto& frames : bad) {
        std::string error;
        dib d;
        EXPECT_FALSE(framesToDib(frames, d, error));
        EXPECT_EQ(d.poi, nullptr);
        EXPECT_FALSE(error.empty());
    }
}

} // namespace
} // namespace pm
