#include "drawing/numfmt.h"
#include "drawing/view.h"

#include <gtest/gtest.h>

#include <limits>

namespace pm {
namespace {

TEST(View, RoundsHalvesToEvenPerCoordinate) {
    EXPECT_EQ(R(2.5), 2);
    EXPECT_EQ(R(3.5), 4);
    EXPECT_EQ(R(-1.5), -2);
    View v;
    EXPECT_EQ(v.S(12.4, 7.5), (Pt{12, 8}));
    EXPECT_EQ(v.S(12.5, 6.5), (Pt{12, 6}));
    v.z = 150;
    EXPECT_EQ(v.X(3), 4);
    EXPECT_EQ(v.X(5), 8);
}

TEST(View, ZoomKeepsTopLeftAtMinusScrollPosition) {
    View v;
    v.h = 50;
    EXPECT_EQ(v.X(0), -50);
    EXPECT_EQ(v.X(100), 50);
    v.z = 200;
    EXPECT_EQ(v.X(0), -50);
    EXPECT_EQ(v.X(100), 150);
    v.forExport = true; // the export mapping has no scroll offsets
    EXPECT_EQ(v.X(0), 0);
    EXPECT_EQ(v.Y(10), 20);
}

TEST(View, WindowToPictureIsTheUnroundedInverse) {
    View v;
    v.z = 30000;
    v.h = 10000;
    const Pt p = v.toPicture(0, 0);
    EXPECT_NEAR(p.x, 33.3333333, 1e-6); // nothing left of this can be scrolled into view
    v.z = 150;
    v.h = -20;
    v.v = 7;
    const Pt q = v.toPicture(10, 20);
    EXPECT_DOUBLE_EQ(q.x, -10 * 100.0 / 150);
    EXPECT_DOUBLE_EQ(q.y, 27 * 100.0 / 150);
}

TEST(NumberFormat, FifteenDigitsThenDecimalsWithPoint) {
    const struct {
        double v;
        int decimals;
        const char* text;
    } cases[] = {
        {12.5, 2, "12.50"},
        {12.5, 4, "12.5000"},
        {1.00005, 4, "1.0001"}, // 15 digits first: the binary value lies just below
        {-90, 4, "-90.0000"},
        {53.13010235415598, 4, "53.1301"},
        {0, 4, "0.0000"},
        {0.00005, 4, "0.0001"},
        {0.000049, 4, "0.0000"},
        {-0.00001, 4, "0.0000"},
        {9.99995, 4, "10.0000"},
        {999.995, 2, "1000.00"},
        {123456789012345.0, 2, "123456789012345.00"},
        {1e15, 2, "1.00000000000000E+15"},
        {-2.5e20, 4, "-2.50000000000000E+20"},
        {std::numeric_limits<double>::quiet_NaN(), 2, "NAN"},
        {-std::numeric_limits<double>::infinity(), 2, "-INF"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(formatFixed(c.v, c.decimals), c.text) << c.v;
}

} // namespace
} // namespace pm
