#include "print/printlayout.h"

#include <gtest/gtest.h>

namespace pm {
namespace {

TEST(PrintLayout, SheetFillsTheBoxAlongItsLongerSide) {
    EXPECT_EQ(previewSheet(3000, 2000, 190, 190), (Rect{0, 32, 190, 126})); // landscape
    EXPECT_EQ(previewSheet(2000, 3000, 190, 190), (Rect{32, 0, 126, 190})); // portrait
}

TEST(PrintLayout, WidePictureOnAPortraitPageFillsTheWidthCentred) {
    const Rect sheet = previewSheet(2000, 3000, 190, 190);
    const Rect r = printRect(sheet, 800, 400, PrintChoice{});
    EXPECT_EQ(r.w, sheet.w);
    EXPECT_EQ(r.h, sheet.w / 2);
    EXPECT_EQ(r.y, sheet.y + (sheet.h - r.h) / 2);
    EXPECT_EQ(r.x, sheet.x);
    PrintChoice stretch;
    stretch.keepRatio = false;
    stretch.centred = false;
    EXPECT_EQ(printRect(sheet, 800, 400, stretch), sheet);
    PrintChoice full;
    full.fullPage = false;
    full.breit = full.hoch = 100;
    EXPECT_EQ(printRect(sheet, 800, 400, full), sheet);
    full.breit = 50;
    full.hoch = 25;
    full.centred = false;
    EXPECT_EQ(printRect({0, 0, 1000, 1000}, 1, 1, full), (Rect{0, 0, 500, 250}));
}

TEST(PrintLayout, PercentagesKeepThePicturesProportion) {
    PrintChoice c;
    // A square picture on a page 2000 x 3000: 60 % of the width is 1200, so 40 % of the height.
    c.breit = 60;
    widthRule(c, 100, 100, 2000, 3000);
    EXPECT_EQ(c.hoch, 40);
    c.hoch = 50;
    heightRule(c, 100, 100, 2000, 3000);
    EXPECT_EQ(c.breit, 75);
    // Too high: the height is bounded to 100 and the width follows from it, once.
    c.breit = 100;
    widthRule(c, 100, 300, 2000, 3000);
    EXPECT_EQ(c.hoch, 100);
    EXPECT_EQ(c.breit, 50);
    PrintChoice free;
    free.keepRatio = false;
    free.breit = 80;
    widthRule(free, 100, 100, 2000, 3000);
    EXPECT_EQ(free.hoch, 50);
}

} // namespace
} // namespace pm
