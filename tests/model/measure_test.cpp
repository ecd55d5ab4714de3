#include "model/measure.h"
#include "support/fakes.h"

#include <gtest/gtest.h>

#include <cmath>

namespace pm {
namespace {

struct Fixture {
    ElementList list;
    Scale scale;
    MeasureSums sums;

    Telemente& element(int typ, double x1, double y1, double x2, double y2, double slope = 0) {
        Telemente* e = list.append();
        e->typ = typ;
        e->x1 = x1;
        e->y1 = y1;
        e->x2 = x2;
        e->y2 = y2;
        e->x4 = slope;
        return *e;
    }
    Telemente& chain(int typ, std::initializer_list<Tvert> pts) {
        Telemente* e = list.append();
        e->typ = typ;
        for (const Tvert& p : pts)
            list.appendVertex(*e, p.x, p.y);
        return *e;
    }
    Telemente& calc(Telemente& e) {
        CalcElement(e, scale, sums);
        return e;
    }
};

TEST(CalcElement, ResultsOfEveryKindAtAQuarterMillimetrePerPixel) {
    Fixture f;
    f.scale = {200, 50, u"mm"};
    struct Case {
        const char* what;
        int typ;
        double x1, y1, x2, y2, slope;
        double lang, flaeche, winkel;
    };
    const Case cases[] = {
        {"rectangle", typRechteck, 0, 0, 100, 40, 0, 70, 250, 0},
        {"rectangle from the other corner", typRechteck, 100, 40, 0, 0, 0, 70, 250, 0},
        {"distance", typAbstand, 0, 0, 30, 40, 0, 12.5, 0, 53.13010235415598},
        {"slanted distance at 60 degrees", typAbstand, 0, 0, 30, 40, 60, 25, 0, 53.13010235415598},
        {"graphical scale", typMassstab, 0, 0, 30, 40, 0, 12.5, 0, 53.13010235415598},
        {"zero-length distance", typAbstand, 5, 5, 5, 5, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        Telemente& e = f.calc(f.element(c.typ, c.x1, c.y1, c.x2, c.y2, c.slope));
        EXPECT_NEAR(e.lang, c.lang, 1e-9) << c.what;
        EXPECT_NEAR(e.flaeche, c.flaeche, 1e-9) << c.what;
        EXPECT_NEAR(e.winkel, c.winkel, 1e-9) << c.what;
    }
}

TEST(CalcElement, AngleFollowsPictureAxesWithYDownwards) {
    Fixture f;
    const struct {
        double x1, y1, x2, y2, winkel;
    } cases[] = {{10, 10, 0, 10, 180}, {0, 0, 0, 10, 90}, {0, 10, 0, 0, -90}, {0, 0, 10, 0, 0}};
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(f.calc(f.element(typAbstand, c.x1, c.y1, c.x2, c.y2)).winkel, c.winkel);
}

TEST(CalcElement, EllipsesUseRamanujansApproximation) {
    Fixture f;
    Telemente& circle = f.calc(f.element(typEllipse, 0, 0, 20, 20));
    EXPECT_NEAR(circle.lang, 2 * kPi * 10, 1e-12);
    EXPECT_NEAR(circle.flaeche, 314.1592653589793, 1e-12);
    Telemente& oval = f.calc(f.element(typEllipse, 20, 10, 0, 0));
    EXPECT_NEAR(oval.lang, 48.44224108065042, 1e-12);
    EXPECT_NEAR(oval.flaeche, 157.07963267948966, 1e-12);
    Telemente& empty = f.calc(f.element(typEllipse, 3, 3, 3, 3));
    EXPECT_EQ(empty.lang, 0.0);
    EXPECT_EQ(empty.flaeche, 0.0);
    EXPECT_DOUBLE_EQ(ellipseumfang(3, 7), ellipseumfang(7, 3));
}

TEST(CalcElement, PolygonAndPathSums) {
    Fixture f;
    Telemente& square = f.calc(f.chain(typPolygon, {{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}}));
    EXPECT_DOUBLE_EQ(square.flaeche, 100);
    EXPECT_DOUBLE_EQ(square.lang, 40);
    Telemente& path = f.calc(f.chain(typStrecke, {{0, 0}, {10, 0}, {10, 10}}));
    EXPECT_DOUBLE_EQ(path.lang, 20);
    EXPECT_DOUBLE_EQ(path.flaeche, 50);
    EXPECT_DOUBLE_EQ(f.sums.calcabst, 20);
    Telemente& single = f.calc(f.chain(typStrecke, {{4, 4}}));
    EXPECT_EQ(single.lang, 0);
    EXPECT_EQ(single.flaeche, 0);

    f.scale = {2, 1, u"m"}; // areas go with the square of the factor
    EXPECT_DOUBLE_EQ(f.calc(square).flaeche, 25);
    EXPECT_DOUBLE_EQ(square.lang, 20);
}

TEST(CalcElement, LargeCoordinatesFollowSinglePrecision) {
    // 100001.3 is 100001.296875 in single precision: the width is 1.296875, not 1.3.
    Fixture f;
    Telemente& e = f.calc(
        f.chain(typPolygon, {{100000, 0}, {100001.3, 0}, {100001.3, 1}, {100000, 1}, {100000, 0}}));
    EXPECT_EQ(e.flaeche, 1.296875);
    EXPECT_EQ(e.lang, 4.59375);
}

TEST(CalcElement, TextLabelsKeepTheirValues) {
    Fixture f;
    Telemente& t = f.element(typText, 0, 0, 50, 50);
    t.lang = 3;
    t.winkel = 4;
    f.calc(t);
    EXPECT_EQ(t.lang, 3);
    EXPECT_EQ(t.winkel, 4);
}

TEST(Numerisch, FillsDialogAndTakesValuesBackReplacingZeros) {
    test::FakeDialogs dialogs;
    Scale scale{200, 50, u"mm"};
    bool anzeigen = true;

    dialogs.typed = {0, -2, u"cm", false};
    Numerisch(dialogs, scale, anzeigen);
    EXPECT_EQ(dialogs.seen.pixel, 200);
    EXPECT_EQ(dialogs.seen.entspricht, 50);
    EXPECT_EQ(dialogs.seen.einheit, u"mm");
    EXPECT_TRUE(dialogs.seen.anzeigen);
    EXPECT_EQ(scale.mas1, 1.0);
    EXPECT_EQ(scale.mas2, -2);
    EXPECT_EQ(scale.einh, u"cm");
    EXPECT_FALSE(anzeigen);

    Fixture f;
    f.scale = scale; // negative scale: negative lengths
    EXPECT_DOUBLE_EQ(f.calc(f.element(typAbstand, 0, 0, 3, 4)).lang, -10);

    dialogs.typed = {4, 0, u"m", true};
    Numerisch(dialogs, scale, anzeigen);
    EXPECT_EQ(scale.mas2, 1.0);
}

TEST(Numerisch, ChangingOnlyTheUnitKeepsEveryNumber) {
    Fixture f;
    f.scale = {200, 50, u"mm"};
    Telemente& d = f.calc(f.element(typAbstand, 0, 0, 30, 40));
    const double before = d.lang;
    f.scale.einh = u"cm";
    EXPECT_EQ(f.calc(d).lang, before);
}

} // namespace
} // namespace pm
