#include "drawing/render.h"
#include "support/recordingcanvas.h"

#include "support/elements.h"

#include <gtest/gtest.h>

#include <cmath>

namespace pm {
namespace {

using test::Op;

struct Scene {
    ElementList list;
    Scale scale;
    MeasureSums sums;
    std::u16string unit = u"mm";
    RenderContext ctx;
    test::RecordingCanvas canvas;

    Scene() { ctx.unit = &unit; }
    Telemente& add(int typ, Pt p1, Pt p2, Pt p3 = {}, bool selected = false) {
        Telemente& e = test::addElement(list, typ, p1, p2, p3);
        e.selected = selected;
        return e;
    }
    Telemente& chain(int typ, std::initializer_list<Pt> pts, bool selected = false) {
        Telemente& e = add(typ, {}, {}, {}, selected);
        for (const Pt& p : pts)
            list.appendVertex(e, p.x, p.y);
        return e;
    }
    void render() {
        canvas.ops.clear();
        renderElements(canvas, ctx, list, scale, sums);
    }
};

void expectPoints(const std::vector<Pt>& got, const std::vector<Pt>& want, const char* what) {
    ASSERT_EQ(got.size(), want.size()) << what;
    for (std::size_t i = 0; i < want.size(); ++i) {
        EXPECT_EQ(got[i].x, want[i].x) << what << " point " << i;
        EXPECT_EQ(got[i].y, want[i].y) << what << " point " << i;
    }
}

TEST(RenderDistance, ShortDistanceGetsHeadsOfAThirdOfItsLength) {
    Scene s;
    s.ctx.view.z = 1000; // enlarged, so that the rounding shows the head's size
    s.add(typAbstand, {0, 0}, {40, 0}, {20, 0});
    s.render();
    const auto fills = s.canvas.of(Op::Fill);
    ASSERT_EQ(fills.size(), 2u);
    // Length 40 / 3 = 13.33..., half width 13.33... * 7 / 30 = 3.11...
    expectPoints(fills[0].pts, {{0, 0}, {133, 31}, {133, -31}}, "first head");
    expectPoints(fills[1].pts, {{400, 0}, {267, 31}, {267, -31}}, "second head");
    EXPECT_EQ(fills[0].penWidth, 1);
    // p3 on the line: no offset, the extension lines run from p - Q to p + Q.
    const auto lines = s.canvas.of(Op::Line);
    ASSERT_EQ(lines.size(), 3u);
    expectPoints(lines[0].pts, {{0, 0}, {400, 0}}, "dimension line");
    expectPoints(lines[1].pts, {{0, -31}, {0, 31}}, "first extension");
    expectPoints(lines[2].pts, {{400, -31}, {400, 31}}, "second extension");
    EXPECT_EQ(lines[0].penWidth, 20); // R(2 * 1000 / 100)
}

TEST(RenderDistance, ExtensionLinesOvershootTheDimensionLine) {
    Scene s;
    s.add(typAbstand, {0, 0}, {100, 0}, {50, 3});
    s.render();
    auto lines = s.canvas.of(Op::Line);
    ASSERT_EQ(lines.size(), 3u);
    // O = (0, 3), E = (0, 7), F = (0, 0).
    expectPoints(lines[0].pts, {{0, 3}, {100, 3}}, "dimension line");
    expectPoints(lines[1].pts, {{0, 0}, {0, 10}}, "first extension");
    expectPoints(lines[2].pts, {{100, 0}, {100, 10}}, "second extension");

    Scene diag;
    diag.add(typAbstand, {0, 0}, {100, 100}, {52, 48});
    diag.render();
    lines = diag.canvas.of(Op::Line);
    // O = (2, -2), E = F = (4.95, -4.95): the extension starts behind the measured point.
    expectPoints(lines[0].pts, {{2, -2}, {102, 98}}, "diagonal dimension line");
    expectPoints(lines[1].pts, {{-5, 5}, {7, -7}}, "diagonal first extension");
    expectPoints(lines[2].pts, {{95, 105}, {107, 93}}, "diagonal second extension");
}

TEST(RenderArrows, DistanceHeadsGrowWithZoomPathHeadsWithItsSquare) {
    Scene s;
    s.ctx.view.z = 200;
    s.add(typAbstand, {0, 0}, {200, 0}, {100, 0});
    s.chain(typStrecke, {{0, 100}, {200, 100}});
    s.render();
    const auto fills = s.canvas.of(Op::Fill);
    ASSERT_EQ(fills.size(), 4u);
    EXPECT_EQ(fills[0].pts[1].x - fills[0].pts[0].x, 60);  // distance: 30 * 2
    EXPECT_EQ(fills[2].pts[1].x - fills[2].pts[0].x, 120); // path: 30 * 2 * 2
}

TEST(RenderChains, PathArrowsTicksAndLastSegmentStored) {
    Scene s;
    Telemente& path = s.chain(typStrecke, {{0, 0}, {0, 0}, {100, 0}, {100, 100}});
    s.render();
    for (const Op& op : s.canvas.ops)
        for (const Pt& p : op.pts)
            ASSERT_TRUE(std::isfinite(p.x) && std::isfinite(p.y));
    EXPECT_EQ(path.x1, 100);
    EXPECT_EQ(path.y1, 0);
    EXPECT_EQ(path.x2, 100);
    EXPECT_EQ(path.y2, 100);
    EXPECT_DOUBLE_EQ(path.lang, 200);
    ASSERT_EQ(s.canvas.texts(u"200.0000 mm").size(), 1u);
    const auto polylines = s.canvas.of(Op::Polyline);
    ASSERT_FALSE(polylines.empty());
    EXPECT_EQ(polylines[0].pts.size(), 4u);
}

TEST(RenderMarks, SelectedElementsShowTheirHandlesUnlessTheHandIsDown) {
    const struct {
        const char* what;
        int marks;
        bool hand;
    } cases[] = {{"marks", 2 + 3 + 3 + 1, false}, {"hand tool down", 0, true}};
    for (const auto& c : cases) {
        Scene s;
        s.ctx.settings.handTool = c.hand;
        s.add(typRechteck, {10, 10}, {50, 30}, {}, true);
        s.add(typAbstand, {0, 0}, {100, 0}, {50, 10}, true);
        s.chain(typStrecke, {{0, 0}, {10, 0}, {10, 10}}, true);
        Telemente& t = s.add(typText, {5, 50}, {5, 50}, {}, true);
        storename(t.name, u"Hallo");
        s.add(typRechteck, {60, 60}, {70, 70}); // not selected
        s.render();
        EXPECT_EQ(s.canvas.marks().size(), std::size_t(c.marks)) << c.what;
    }
}

TEST(RenderScale, GraphicalScaleOnlyWhileShown) {
    Scene s;
    s.scale = {100, 25, u"mm"};
    Telemente& m = s.add(typMassstab, {0, 0}, {100, 0}, {100, 0});
    m.lang = 7;
    s.ctx.settings.showScale = false;
    s.render();
    EXPECT_TRUE(s.canvas.ops.empty());
    EXPECT_EQ(m.lang, 7); // not recomputed either
    s.ctx.settings.showScale = true;
    s.render();
    EXPECT_EQ(m.lang, 25);
    EXPECT_EQ(s.canvas.texts(u"M: 25.00 mm").size(), 1u);
}

TEST(Labels, BoxLabelHangsCentredUnderTheBox) {
    Scene s;
    s.canvas.charWidth = 6;
    Telemente& r = s.add(typRechteck, {10, 10}, {50, 30});
    storename(r.name, u"Raum");
    s.unit = u"Pixel";
    s.render();
    // "800.0000 Pixel²" is 15 characters, 90 pixels: centred on x = 30.
    const auto value = s.canvas.texts(u"800.0000 Pixel²");
    ASSERT_EQ(value.size(), 1u);
    EXPECT_EQ(value[0].pts[0], (Pt{30 - 45, 30}));
    const auto name = s.canvas.texts(u"Raum");
    ASSERT_EQ(name.size(), 1u);
    EXPECT_EQ(name[0].pts[0], (Pt{30 - 12, 30 + 16}));
    ASSERT_EQ(s.canvas.of(Op::Rectangle).size(), 1u);
    EXPECT_FALSE(s.canvas.of(Op::Rectangle)[0].brushSolid);
}

TEST(Labels, LineLabelsNeverReadUpsideDown) {
    // The same line drawn either way: same angle and the same place.
    const struct {
        Pt p1, p2;
        int escapement;
    } pairs[][2] = {
        {{{0, 0}, {100, 0}, 0}, {{100, 0}, {0, 0}, 0}},
        {{{0, 100}, {0, 0}, -900}, {{0, 0}, {0, 100}, -900}},
    };
    for (const auto& pair : pairs) {
        std::vector<Pt> at;
        for (const auto& c : pair) {
            Scene s;
            s.add(typAbstand, c.p1, c.p2, c.p1);
            s.render();
            const auto texts = s.canvas.of(Op::Text);
            ASSERT_EQ(texts.size(), 2u);
            EXPECT_EQ(texts[0].escapement, c.escapement);
            at.push_back(texts[0].pts[0]);
        }
        EXPECT_EQ(at[0], at[1]);
    }
    // Below the line as the text reads: 80 pixels of "100.00 mm" centred, a' = 7 below.
    Scene s;
    s.add(typAbstand, {0, 0}, {100, 0}, {0, 0});
    s.render();
    EXPECT_EQ(s.canvas.of(Op::Text)[0].pts[0], (Pt{50 - 36, 7}));

    Scene steep; // -75.5 degrees turns to 104.5
    steep.add(typAbstand, {0, 0},
              {std::cos(-75.5 * kPi / 180) * 100, std::sin(-75.5 * kPi / 180) * 100});
    steep.render();
    EXPECT_EQ(steep.canvas.of(Op::Text)[0].escapement, -1045);
}

TEST(Labels, ValueTextsPerKind) {
    LabelTexts texts;
    Telemente e{};
    e.typ = typAbstand;
    e.lang = 4.5;
    e.x4 = 30;
    EXPECT_EQ(valueText(e, u"m", texts), u"4.50 m (30.00° Neigung)");
    e.x4 = 0;
    EXPECT_EQ(valueText(e, u"m", texts), u"4.50 m");
    e.typ = typMassstab;
    e.lang = 200;
    EXPECT_EQ(valueText(e, u"mm", texts), u"M: 200.00 mm");
    e.typ = typPolygon;
    e.flaeche = 12.5;
    EXPECT_EQ(valueText(e, u"cm", texts), u"12.5000 cm²");
    e.typ = typStrecke;
    e.lang = 3;
    EXPECT_EQ(valueText(e, u"cm", texts), u"3.0000 cm");
    EXPECT_EQ(scaledFontHeight(-15, 10), -2);
    EXPECT_EQ(scaledFontHeight(-1, 10), 1);
}

TEST(Labels, TextLabelStandsOnItsAnchorAndStoresItsCorner) {
    Scene s;
    s.ctx.view.z = 200;
    s.canvas.textHeight = 16;
    Telemente& t = s.add(typText, {100, 200}, {100, 200});
    storename(t.name, u"Fenst"); // 5 characters of 8 pixels: 40 x 16
    s.render();
    const auto texts = s.canvas.of(Op::Text);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].pts[0], (Pt{200, 400 - 16}));
    EXPECT_EQ(t.x2, 120);
    EXPECT_EQ(t.y2, 192);
    EXPECT_EQ(texts[0].fontHeight, -30);
}

TEST(Labels, OutlineContrastsWithTheTextColour) {
    const struct {
        Rgb color;
        Rgb outline;
    } cases[] = {{{255, 0, 0}, kWhite}, {{255, 255, 0}, kBlack}, {{128, 128, 128}, kBlack}};
    for (const auto& c : cases) {
        test::RecordingCanvas canvas;
        canvas.setTextColor(c.color);
        mytextout(canvas, 10, 20, u"x", true);
        const auto texts = canvas.of(Op::Text);
        ASSERT_EQ(texts.size(), 50u);
        EXPECT_EQ(texts[0].textColor, c.outline);
        EXPECT_EQ(texts[0].pts[0], (Pt{7, 17}));
        EXPECT_EQ(texts[48].pts[0], (Pt{13, 23}));
        EXPECT_EQ(texts[49].textColor, c.color);
        EXPECT_EQ(texts[49].pts[0], (Pt{10, 20}));
    }
}

TEST(RenderCurves, ControlLinesMarksAndClosingLine) {
    Scene s;
    s.add(typLine, {0, 0}, {30, 0});
    Telemente& quad = s.add(typQuadCurve, {30, 0}, {60, 30}, {60, 0});
    quad.nr = 1;
    Telemente& cubic = s.add(typCubicCurve, {60, 30}, {0, 30}, {60, 60});
    cubic.x4 = 0;
    cubic.y4 = 60;
    cubic.nr = 2;
    cubic.closed = true;
    s.render();
    const auto beziers = s.canvas.of(Op::Bezier);
    ASSERT_EQ(beziers.size(), 2u);
    // The quadratic curve as a cubic: controls 2/3 of the way to its control point.
    expectPoints(beziers[0].pts, {{30, 0}, {50, 0}, {60, 10}, {60, 30}}, "quadratic");
    expectPoints(beziers[1].pts, {{60, 30}, {60, 60}, {0, 60}, {0, 30}}, "cubic");
    // Marks: line 2, quadratic 2 (it continues a chain), cubic 3.
    EXPECT_EQ(s.canvas.marks().size(), 7u);
    const auto lines = s.canvas.of(Op::Line);
    expectPoints(lines.back().pts, {{0, 30}, {0, 0}}, "closing line");
    int thick = 0; // control lines: black, 3 wide (quadratic 1, cubic 2)
    for (const Op& op : s.canvas.of(Op::Polyline))
        thick += op.penWidth == 3 && op.pen == kBlack;
    EXPECT_EQ(thick, 3);

    s.ctx.settings.noendpunkte = true;
    s.render();
    EXPECT_TRUE(s.canvas.marks().empty());
    EXPECT_TRUE(s.canvas.of(Op::Polyline).empty()); // no control lines either
}

TEST(Render, EmptyListDrawsNothing) {
    Scene s;
    s.render();
    EXPECT_TRUE(s.canvas.ops.empty());
}

} // namespace
} // namespace pm
