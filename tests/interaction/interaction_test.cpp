#include "drawing/geometry.h"
#include "interaction/interaction.h"
#include "support/fakes.h"
#include "support/recordingcanvas.h"

#include "support/elements.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace pm {
namespace {

class FakeHost : public InteractionHost {
public:
    explicit FakeHost(Document& doc) : doc_(doc) {}
    View view() const override { return v; }
    Tool tool() const override { return t; }
    void setToolDown(Tool tool) override { t = tool; }
    bool askLabelOption() const override { return labelOption; }
    bool pointerOption() const override { return pointer; }
    void fullRepaint() override {
        ++repaints;
        if (onRepaint)
            onRepaint();
    }
    void preview(const std::function<void(Canvas&, const RenderContext&)>& draw) override {
        ++previews;
        canvas.ops.clear();
        RenderContext ctx;
        ctx.view = v;
        draw(canvas, ctx);
    }
    void setScroll(int h, int vv) override {
        v.h = std::clamp(h, -10000, 10000);
        v.v = std::clamp(vv, -10000, 10000);
        ++repaints;
    }
    TextSize labelExtent(std::u16string_view text) override { return {int(text.size()) * 8, 16}; }
    void numerisch() override {
        ++scaleDialogs;
        scaleSeen = doc_.scale;
    }
    std::u16string beschriftung() override { return u"Beschriftung"; }

    View v;
    Tool t = Tool::None;
    bool labelOption = true;
    bool pointer = false;
    int repaints = 0, previews = 0, scaleDialogs = 0;
    Scale scaleSeen;
    std::function<void()> onRepaint;
    test::RecordingCanvas canvas;

private:
    Document& doc_;
};

struct Bench {
    Document doc;
    FakeHost host{doc};
    test::FakeDialogs dialogs;
    test::FakeKeyboard keys;
    Interaction ia{doc, host, dialogs, keys};
    ElementList& list = doc.elemente;

    void click(int x, int y, MouseButton b = MouseButton::Left) {
        ia.PaintBox1MouseDown(b, x, y);
        ia.PaintBox1MouseUp(b, x, y);
    }
    void rightClick(int x = 0, int y = 0) { click(x, y, MouseButton::Right); }
    Telemente& lastElement() { return list.at(list.count() - 1); }
    Telemente& add(int typ, Pt p1, Pt p2, Pt p3 = {}) {
        return test::addElement(list, typ, p1, p2, p3);
    }
    std::vector<Pt> vertices(const Telemente& e) {
        std::vector<Pt> out;
        for (int k = 0; k < vertexCount(e); ++k)
            out.push_back({vertexAt(e, k).x, vertexAt(e, k).y});
        return out;
    }
};

TEST(HitTests, PointHitIsThreeWindowPixelsInclusiveAtEveryZoom) {
    const struct {
        int x, y;
        double px, py;
        int z;
        bool hit;
    } cases[] = {{13, 10, 10, 10, 100, true}, {14, 10, 10, 10, 100, false},
                 {7, 7, 10, 10, 100, true},   {6, 10, 10, 10, 100, false},
                 {23, 17, 10, 10, 200, true}, {24, 20, 10, 10, 200, false},
                 {1, 2, 2.5, 2.5, 50, true},  {5, 5, 2.5, 2.5, 50, false}};
    for (const auto& c : cases)
        EXPECT_EQ(clickonpunkt(c.x, c.y, c.px, c.py, c.z), c.hit)
            << c.x << "," << c.y << " z" << c.z;
}

TEST(HitTests, SegmentAndBox) {
    EXPECT_TRUE(ClickOnline(100, 100, 200, 100, 150, 104, 5));
    EXPECT_FALSE(ClickOnline(100, 100, 200, 100, 150, 105, 5));
    EXPECT_TRUE(ClickOnline(100, 100, 200, 100, 205, 100, 5)); // 5 beyond the end
    EXPECT_FALSE(ClickOnline(100, 100, 200, 100, 206, 100, 5));
    EXPECT_FALSE(ClickOnline(100, 100, 100, 100, 100, 100, 5)); // no direction: never
    EXPECT_TRUE(clickinbox(5, 5, 10, 10, 0, 0));
    EXPECT_TRUE(clickinbox(10, 0, 0, 0, 10, 10));
    EXPECT_FALSE(clickinbox(11, 5, 0, 0, 10, 10));
    EXPECT_EQ(linienabstand(0, 0, 0, 0, 5, 5), 1000);
}

TEST(Creation, DistanceTakesThreeClicksAndAsksForItsLabel) {
    Bench b;
    b.host.t = Tool::Dimension;
    b.dialogs.labelTyped = u"Wand";
    b.click(10, 20);
    EXPECT_TRUE(b.ia.inlinie);
    EXPECT_EQ(b.list.count(), 0);
    b.click(110, 20);
    ASSERT_EQ(b.list.count(), 1);
    b.ia.PaintBox1MouseMove(60, 40); // the dimension line follows the mouse
    EXPECT_EQ(b.lastElement().y3, 40);
    b.click(60, 50);
    Telemente& e = b.lastElement();
    EXPECT_FALSE(b.ia.inlinie);
    EXPECT_EQ(e.typ, typAbstand);
    EXPECT_EQ((Pt{e.x1, e.y1}), (Pt{10, 20}));
    EXPECT_EQ((Pt{e.x2, e.y2}), (Pt{110, 20}));
    EXPECT_EQ((Pt{e.x3, e.y3}), (Pt{60, 50}));
    EXPECT_EQ(e.x4, 0);
    EXPECT_EQ(e.nr, 0);
    EXPECT_EQ(labelOf(e), u"Wand");
    EXPECT_EQ(b.dialogs.labelsSeen, (std::vector<std::string>{""}));
}

TEST(Creation, SlopeDialogOpensWithZeroAndOnlyOkStoresTheAngle) {
    for (bool ok : {true, false}) {
        Bench b;
        b.host.t = Tool::Schraeg;
        b.dialogs.slopeTyped = 35;
        b.dialogs.slopeOk = ok;
        b.click(0, 0);
        b.click(100, 0);
        b.click(50, 10);
        EXPECT_EQ(b.dialogs.slopeSeen, 0);
        EXPECT_EQ(b.lastElement().x4, ok ? 35 : 0);
    }
}

TEST(Creation, PolygonClosesOnRightClickPathStaysOpen) {
    for (Tool t : {Tool::Polygon, Tool::Strecke}) {
        Bench b;
        b.host.t = t;
        b.click(0, 0);
        b.click(100, 0);
        b.click(100, 100);
        EXPECT_TRUE(b.ia.inlinie);
        b.rightClick(500, 500);
        EXPECT_FALSE(b.ia.inlinie);
        ASSERT_EQ(b.list.count(), 1);
        const auto v = b.vertices(b.lastElement());
        if (t == Tool::Polygon)
            EXPECT_EQ(v, (std::vector<Pt>{{0, 0}, {100, 0}, {100, 100}, {0, 0}}));
        else
            EXPECT_EQ(v, (std::vector<Pt>{{0, 0}, {100, 0}, {100, 100}}));
        EXPECT_EQ(b.lastElement().typ, t == Tool::Polygon ? typPolygon : typStrecke);
    }
}

TEST(Creation, LeftCtrlMakesSquaresKeepingTheQuadrant) {
    const struct {
        bool left, right;
        int x, y;
        Pt end;
    } cases[] = {{true, false, 10, 4, {4, 4}},
                 {true, false, -10, 4, {-4, 4}},
                 {true, false, 3, -9, {3, -3}},
                 {false, true, 10, 4, {10, 4}}};
    for (const auto& c : cases) {
        Bench b;
        b.host.t = Tool::Rect;
        b.host.v.h = -100; // picture (0, 0) at window (100, 100)
        b.host.v.v = -100;
        b.click(100, 100);
        b.keys.leftCtrl = c.left;
        b.keys.rightCtrl = c.right;
        b.click(c.x + 100, c.y + 100);
        const Telemente& e = b.lastElement();
        EXPECT_EQ((Pt{e.x2, e.y2}), c.end) << c.x << "," << c.y;
        EXPECT_FALSE(b.ia.inlinie);
    }
}

TEST(Creation, CtrlHorizontalAltVerticalBothZeroLength) {
    const struct {
        bool ctrl, alt;
        Pt end;
    } cases[] = {{true, false, {40, 10}}, {false, true, {10, 30}}, {true, true, {10, 10}}};
    for (const auto& c : cases) {
        Bench b;
        b.host.t = Tool::Dimension;
        b.click(10, 10);
        b.keys.leftCtrl = c.ctrl;
        b.keys.alt = c.alt;
        b.click(40, 30);
        EXPECT_EQ((Pt{b.lastElement().x2, b.lastElement().y2}), c.end);
    }
}

TEST(Creation, SnappingTakesExistingPointsUnlessCtrlIsDown) {
    Bench b;
    b.add(typRechteck, {50, 50}, {80, 80});
    b.host.t = Tool::Dimension;
    b.click(53, 47); // within 3: snaps to (50, 50)
    EXPECT_EQ(b.ia.startx, 50);
    EXPECT_EQ(b.ia.starty, 50);
    b.click(84, 80); // 4 away: does not snap
    EXPECT_EQ(b.lastElement().x2, 84);
    b.rightClick();

    b.keys.rightCtrl = true; // CTRL: continuation clicks do not snap, first clicks still do
    b.click(82, 81);
    EXPECT_EQ(b.ia.startx, 80);
    b.click(51, 52);
    EXPECT_EQ((Pt{b.lastElement().x2, b.lastElement().y2}), (Pt{51, 80})); // and horizontal

    Bench origin; // p4 of most elements is (0, 0)
    origin.add(typAbstand, {100, 100}, {200, 100}, {150, 100});
    origin.host.t = Tool::Rect;
    origin.click(2, 3);
    EXPECT_EQ(origin.ia.startx, 0);
    EXPECT_EQ(origin.ia.starty, 0);
}

TEST(Creation, NewGraphicalScaleReplacesTheOldOneAtItsSecondClick) {
    Bench b;
    b.host.t = Tool::Massstab;
    b.add(typMassstab, {0, 0}, {10, 0});
    b.click(0, 100);
    EXPECT_EQ(b.list.count(), 1); // both still there until the second click
    b.click(30, 140);
    ASSERT_EQ(b.list.count(), 1);
    EXPECT_EQ(b.lastElement().y1, 100);
    EXPECT_EQ(b.host.scaleDialogs, 1);
    EXPECT_EQ(b.host.scaleSeen.mas1, 50);
    EXPECT_EQ(b.host.scaleSeen.mas2, 50);
    EXPECT_TRUE(b.dialogs.labelsSeen.empty()); // no label for the scale
}

TEST(Creation, RightClickWithADistanceLeavesItWhereTheMouseWas) {
    Bench b;
    b.host.t = Tool::Dimension;
    b.click(0, 0);
    b.click(100, 0);
    b.ia.PaintBox1MouseMove(70, 33);
    b.dialogs.labelTyped = u"halb";
    b.rightClick(300, 300);
    const Telemente& e = b.lastElement();
    EXPECT_EQ((Pt{e.x3, e.y3}), (Pt{70, 33}));
    EXPECT_EQ(labelOf(e), u"halb");
    EXPECT_FALSE(b.ia.inlinie);
}

TEST(Creation, TextLabelOnlyWhenConfirmedEvenWhenEmpty) {
    Bench b;
    b.host.t = Tool::Text;
    b.host.labelOption = false; // the text tool always asks
    b.dialogs.labelTyped = u"";
    b.click(40, 50);
    ASSERT_EQ(b.list.count(), 1);
    EXPECT_EQ(b.lastElement().typ, typText);
    EXPECT_EQ(labelOf(b.lastElement()), u"");
    EXPECT_NE(b.lastElement().name, nullptr);
    b.dialogs.labelOk = false;
    b.click(60, 70);
    EXPECT_EQ(b.list.count(), 1);
}

TEST(Creation, PreviewsDrawTheRubberBandAndTheWordUnderTheMouse) {
    Bench b;
    b.host.t = Tool::Circle;
    b.click(10, 10);
    b.keys.leftCtrl = true;
    b.ia.PaintBox1MouseMove(50, 30);
    const auto ellipses = b.host.canvas.of(test::Op::Ellipse);
    ASSERT_EQ(ellipses.size(), 1u);
    EXPECT_EQ(ellipses[0].pts[1], (Pt{30, 30})); // a circle while left CTRL is down
    EXPECT_FALSE(ellipses[0].brushSolid);
    EXPECT_EQ(b.list.count(), 0); // the preview never changes the list

    b.keys.leftCtrl = false;
    b.host.t = Tool::Text;
    b.ia.PaintBox1MouseMove(100, 200);
    const auto texts = b.host.canvas.texts(u"Beschriftung");
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].pts[0], (Pt{100, 200 - 16}));
}

TEST(OpenCases, NothingBreaksWhenTheElementInProgressIsGone) {
    Bench b;
    b.host.t = Tool::Dimension;
    b.click(0, 0);
    b.click(100, 0);
    b.list.removeAll(); // "Linien Neu" while the distance waits for its third click
    b.ia.PaintBox1MouseMove(50, 50);
    b.click(50, 50);
    EXPECT_EQ(b.list.count(), 0);
    b.host.t = Tool::Polygon;
    b.rightClick();
    b.ia.Bezeichnungeingeben();
    EXPECT_EQ(b.list.count(), 0);

    Bench t; // a click with the text tool while a path is in progress places a text label
    t.host.t = Tool::Strecke;
    t.click(0, 0);
    t.host.t = Tool::Text;
    t.dialogs.labelTyped = u"Notiz";
    t.click(30, 30);
    ASSERT_EQ(t.list.count(), 1);
    EXPECT_EQ(t.lastElement().typ, typText);
    EXPECT_FALSE(t.ia.inlinie);
}

TEST(Pointer, PressOnAnEdgeSelectsUpToFivePixelsAway) {
    const struct {
        int x, y;
        bool hit;
    } cases[] = {{150, 104, true},
                 {150, 105, false},
                 {150, 96, true},
                 {205, 100, true}, // on the edge's extension, 5 beyond the corner
                 {206, 100, false}};
    for (const auto& c : cases) {
        Bench b;
        b.host.t = Tool::Zeiger;
        b.add(typRechteck, {100, 100}, {200, 150});
        b.click(c.x, c.y);
        EXPECT_EQ(b.list.at(0).selected, c.hit) << c.x << "," << c.y;
    }
}

TEST(Pointer, EveryKindIsHitOnItsOutline) {
    Bench b;
    b.host.t = Tool::Zeiger;
    b.add(typEllipse, {0, 0}, {100, 50});             // 0
    b.add(typAbstand, {200, 0}, {300, 0}, {250, 20}); // 1: dimension line at y = 20
    Telemente& path = b.add(typStrecke, {}, {});      // 2
    b.list.appendVertex(path, 0, 200);
    b.list.appendVertex(path, 100, 200);
    Telemente& text = b.add(typText, {300, 300}, {300, 300}); // 3
    storename(text.name, u"abcd");                            // 32 x 16 above its anchor
    b.add(typAbstand, {400, 400}, {400, 400}, {400, 450});    // 4: no direction
    const struct {
        int x, y, index;
    } presses[] = {{50, 2, 0},    {250, 21, 1},  {200, 10, 1},  {50, 203, 2},
                   {310, 290, 3}, {402, 401, 4}, {400, 430, 4}, {50, 25, -1}};
    for (const auto& p : presses) {
        b.click(p.x, p.y);
        int selected = -1;
        for (int i = 0; i < b.list.count(); ++i)
            if (b.list.at(i).selected)
                selected = i;
        EXPECT_EQ(selected, p.index) << p.x << "," << p.y;
    }
}

TEST(Pointer, HandleOfSelectedElementStartsADragAndKeepsTheSelection) {
    Bench b;
    b.host.t = Tool::Zeiger;
    Telemente& r = b.add(typRechteck, {100, 100}, {200, 150});
    b.add(typRechteck, {90, 90}, {300, 300}); // overlapping, later in the list
    b.click(150, 100);                        // selects the first: the earlier element wins
    EXPECT_TRUE(b.list.at(0).selected);
    EXPECT_FALSE(b.list.at(1).selected);
    EXPECT_EQ(r.x1, 100); // a plain click leaves it where it was
    const int repaints = b.host.repaints;
    b.ia.PaintBox1MouseDown(MouseButton::Left, 202, 148); // p2's handle
    EXPECT_TRUE(b.ia.dragpoint);
    EXPECT_EQ(b.host.repaints, repaints);
    b.ia.PaintBox1MouseMove(212, 168);
    b.ia.PaintBox1MouseUp(MouseButton::Left, 212, 168);
    EXPECT_EQ((Pt{r.x2, r.y2}), (Pt{210, 170})); // moved by the mouse's displacement
    EXPECT_EQ((Pt{r.x1, r.y1}), (Pt{100, 100}));
    EXPECT_TRUE(r.selected);
}

TEST(Pointer, ClosedPolygonMovesFirstAndLastVertexTogether) {
    for (int typ : {typPolygon, typStrecke}) {
        Bench b;
        b.host.t = Tool::Zeiger;
        Telemente& e = b.add(typ, {}, {});
        for (Pt p : {Pt{0, 0}, Pt{100, 0}, Pt{100, 100}, Pt{0, 0}})
            b.list.appendVertex(e, p.x, p.y);
        e.selected = true;
        b.ia.PaintBox1MouseDown(MouseButton::Left, 1, 1);
        b.ia.PaintBox1MouseMove(11, 6);
        b.ia.PaintBox1MouseUp(MouseButton::Left, 11, 6);
        const auto v = b.vertices(e);
        // The press hits vertex 0 and vertex 3; the last in vertex order is dragged.
        EXPECT_EQ(v.back(), (Pt{10, 5}));
        EXPECT_EQ(v.front(), typ == typPolygon ? (Pt{10, 5}) : (Pt{0, 0})) << typ;
    }
}

TEST(Pointer, MoveShowsTheShiftAndStoresItOnRelease) {
    Bench b;
    b.host.t = Tool::Zeiger;
    b.host.v.z = 200;
    Telemente& d = b.add(typAbstand, {10, 10}, {60, 10}, {35, 20});
    d.x4 = 7;
    double seenX1 = 0;
    b.host.onRepaint = [&] { seenX1 = b.list.at(0).x1; };
    b.ia.PaintBox1MouseDown(MouseButton::Left, 70, 40); // on the dimension line at y = 20
    ASSERT_TRUE(b.ia.inmove);
    b.ia.PaintBox1MouseMove(90, 60);
    EXPECT_EQ(seenX1, 20); // drawn 20 window pixels = 10 picture pixels further
    EXPECT_EQ(d.x1, 10);   // stored unchanged meanwhile
    b.ia.PaintBox1MouseUp(MouseButton::Left, 80, 40);
    EXPECT_EQ((Pt{d.x1, d.y1}), (Pt{15, 10}));
    EXPECT_EQ((Pt{d.x3, d.y3}), (Pt{40, 20}));
    EXPECT_EQ(d.x4, 7); // p4 never moves
}

TEST(Pointer, DeletingDuringAMoveEndsTheMoveFirst) {
    Bench b;
    b.host.t = Tool::Zeiger;
    b.add(typRechteck, {0, 0}, {100, 100});
    b.ia.PaintBox1MouseDown(MouseButton::Left, 50, 0);
    ASSERT_TRUE(b.ia.inmove);
    b.ia.Lschen1Click();
    EXPECT_FALSE(b.ia.inmove);
    EXPECT_EQ(b.list.count(), 0);
    b.ia.PaintBox1MouseMove(60, 10);
    b.ia.PaintBox1MouseUp(MouseButton::Left, 60, 10);
    EXPECT_EQ(b.list.count(), 0);
}

TEST(Pan, FollowsTheMouseAndStopsAtTheRange) {
    Bench b;
    b.host.t = Tool::Hand;
    b.host.v.h = 100;
    b.ia.PaintBox1MouseDown(MouseButton::Left, 50, 50);
    b.ia.PaintBox1MouseMove(30, 70);
    EXPECT_EQ(b.host.v.h, 120);
    EXPECT_EQ(b.host.v.v, -20);
    b.ia.PaintBox1MouseMove(-50000, 50);
    EXPECT_EQ(b.host.v.h, 10000);
    b.ia.PaintBox1MouseUp(MouseButton::Left, 0, 0);
    EXPECT_FALSE(b.ia.inhand);
}

TEST(Editing, CopyPasteOffsetsPointsButNotTheDimensionLine) {
    Bench b;
    b.host.v.z = 50;
    Telemente& d = b.add(typAbstand, {10, 10}, {110, 10}, {60, 30});
    storename(d.name, u"A");
    d.selected = true;
    b.ia.Kopieren1Click();
    b.list.unselectall();
    b.ia.Kopieren1Click(); // nothing selected: the copy stays
    b.ia.Einfgen1Click();
    b.ia.Einfgen1Click();
    ASSERT_EQ(b.list.count(), 3);
    for (int i : {1, 2}) {
        const Telemente& p = b.list.at(i);
        EXPECT_EQ((Pt{p.x1, p.y1}), (Pt{30, 30})); // 10 window pixels at 50 %
        EXPECT_EQ((Pt{p.x3, p.y3}), (Pt{60, 30}));
        EXPECT_EQ(labelOf(p), u"A");
    }
    EXPECT_FALSE(b.list.at(1).selected);
    EXPECT_TRUE(b.list.at(2).selected);
}

TEST(Editing, RelabelAsksForEachSelectedElementWithItsLabel) {
    Bench b;
    Telemente& a = b.add(typRechteck, {0, 0}, {1, 1});
    storename(a.name, u"alt");
    a.selected = true;
    b.add(typRechteck, {0, 0}, {1, 1});
    b.dialogs.labelTyped = u"neu";
    b.ia.Beschreibungbearbeiten1Click();
    EXPECT_EQ(b.dialogs.labelsSeen, (std::vector<std::string>{"alt"}));
    EXPECT_EQ(labelOf(b.list.at(0)), u"neu");
    EXPECT_EQ(b.list.at(1).name, nullptr);
}

TEST(Options, PointerOptionReturnsToThePointerAfterAMeasurement) {
    Bench b;
    b.host.pointer = true;
    b.host.labelOption = false;
    b.host.t = Tool::Rect;
    b.click(0, 0);
    b.click(10, 10);
    EXPECT_EQ(b.host.t, Tool::Zeiger);
    EXPECT_TRUE(b.dialogs.labelsSeen.empty());
}

} // namespace
} // namespace pm
