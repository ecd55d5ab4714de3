// The real main window driven by mouse and key events.
#include "app/mainform.h"
#include "app/widgets.h"
#include "drawing/geometry.h"
#include "support/appconfig.h"
#include "support/fakes.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QTreeView>
#include <gtest/gtest.h>

#include <random>

namespace pm {
namespace {

class MouseTest : public testing::Test {
protected:
    void SetUp() override {
        config = test::isolatedConfig(dir);
        config.messages = &msgs;
        config.dialogs = &dialogs;
        config.keyboard = &keys;
        form = std::make_unique<TMainForm>(config);
        form->show();
    }
    void send(QEvent::Type type, Qt::MouseButton b, int x, int y) {
        const Qt::MouseButtons held =
            type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(b);
        QMouseEvent e(type, QPointF(x, y), form->PaintBox1->mapToGlobal(QPointF(x, y)), b, held,
                      Qt::NoModifier);
        QApplication::sendEvent(form->PaintBox1, &e);
    }
    void click(int x, int y, Qt::MouseButton b = Qt::LeftButton) {
        send(QEvent::MouseButtonPress, b, x, y);
        send(QEvent::MouseButtonRelease, b, x, y);
    }
    void move(int x, int y) { send(QEvent::MouseMove, Qt::NoButton, x, y); }
    void tool(const char* name) { form->findChild<QToolButton*>(QLatin1String(name))->click(); }
    ElementList& list() { return form->document().elemente; }

    QTemporaryDir dir;
    test::FakeMessages msgs;
    test::FakeDialogs dialogs;
    test::FakeKeyboard keys;
    AppConfig config;
    std::unique_ptr<TMainForm> form;
};

TEST_F(MouseTest, MeasureEveryKindWithTheMouse) {
    form->zoomed->setValue(200);
    dialogs.labelTyped = u"x";
    tool("DimensionBtn");
    click(20, 20);
    click(220, 20);
    move(120, 60);
    click(120, 60);
    tool("RectBtn");
    click(20, 100);
    click(120, 200);
    tool("CircleBtn");
    click(140, 100);
    click(240, 160);
    tool("PolygonBtn");
    click(20, 240);
    click(120, 240);
    click(120, 300);
    click(20, 300, Qt::RightButton);
    tool("StreckeBtn");
    click(160, 240);
    click(260, 240);
    click(260, 300, Qt::RightButton);
    tool("TextBtn");
    click(300, 40);
    dialogs.typed = {100, 25, u"mm", true};
    tool("massstabBtn");
    click(300, 100);
    click(500, 100);
    ASSERT_EQ(list().count(), 7);
    const int kinds[] = {typAbstand, typRechteck, typEllipse, typPolygon,
                         typStrecke, typText,     typMassstab};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(list().at(i).typ, kinds[i]) << i;
    // Window pixels at 200 % are half picture pixels.
    EXPECT_EQ(list().at(0).x2, 110);
    EXPECT_EQ(vertexCount(list().at(3)), 4); // closed
    EXPECT_EQ(vertexCount(list().at(4)), 2);
    // The scale dialog saw the reference line's length (100 picture pixels).
    EXPECT_EQ(dialogs.seen.pixel, 100);
    EXPECT_EQ(form->document().scale.mas1, 100);
    EXPECT_EQ(form->document().scale.mas2, 25);
    // Results at 0.25 mm per pixel, in the list.
    QAbstractItemModel* m = form->ListView1->model();
    ASSERT_EQ(m->rowCount(), 5);
    EXPECT_EQ(m->index(0, 2).data().toString(), QStringLiteral("25.0000"));  // 100 px
    EXPECT_EQ(m->index(1, 3).data().toString(), QStringLiteral("156.2500")); // 50 x 50 px
}

TEST_F(MouseTest, DeleteKeyRemovesTheSelectedElement) {
    tool("RectBtn");
    dialogs.labelOk = false;
    click(10, 10);
    click(100, 100);
    click(200, 200);
    click(300, 300);
    tool("ZeigerBtn");
    click(50, 10); // the first rectangle's top edge
    ASSERT_TRUE(list().at(0).selected);
    QApplication::setActiveWindow(form.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    QTest::keyClick(form->PaintBox1, Qt::Key_Delete);
    ASSERT_EQ(list().count(), 1);
    EXPECT_EQ(list().at(0).x1, 200);
}

TEST_F(MouseTest, PanningRepaintsOncePerStep) {
    tool("HandBtn");
    int passes = 0;
    QObject::connect(form->ListView1->model(), &QAbstractItemModel::dataChanged, [&] { ++passes; });
    QObject::connect(form->ListView1->model(), &QAbstractItemModel::modelReset, [&] { ++passes; });
    send(QEvent::MouseButtonPress, Qt::LeftButton, 100, 100);
    const int before = passes;
    send(QEvent::MouseMove, Qt::LeftButton, 80, 70);
    EXPECT_EQ(form->ScrollBar1->value(), 20);
    EXPECT_EQ(form->ScrollBar2->value(), 30);
    send(QEvent::MouseButtonRelease, Qt::LeftButton, 80, 70);
    // The results list refills once per pass; with no rows it only resets on the first.
    EXPECT_LE(passes - before, 1);
}

// Long random sequences of presses, moves, releases, keys and commands: nothing may crash,
// leak or leave the element list inconsistent.
TEST_F(MouseTest, RandomUseNeverBreaksTheElementList) {
    std::mt19937 rng(20261211);
    auto pick = [&](int n) { return int(rng() % unsigned(n)); };
    const char* tools[] = {"ZeigerBtn", "HandBtn",   "DimensionBtn", "StreckeBtn",  "PolygonBtn",
                           "RectBtn",   "CircleBtn", "SchraegBtn",   "massstabBtn", "TextBtn"};
    const char* commands[] = {"Lschen1",
                              "Kopieren1",
                              "Einfgen1",
                              "Beschreibungbearbeiten1",
                              "Numerisch1",
                              "Anzeigen1",
                              "SchriftumrandenumdieLesbarkeitzuverbessern1",
                              "NachMessungwiederdenZeigerauswhlen1",
                              "BezeichnungfrElementeeingebenlassen1"};
    Qt::MouseButton buttons[] = {Qt::LeftButton, Qt::LeftButton, Qt::MiddleButton, Qt::RightButton};
    for (int step = 0; step < 2000; ++step) {
        dialogs.labelOk = pick(4) != 0;
        dialogs.slopeOk = pick(2) != 0;
        dialogs.labelTyped = pick(3) ? u"Label" : u"";
        dialogs.typed = {double(pick(400)) - 50, double(pick(100)), u"m", pick(2) != 0};
        const int x = pick(700) - 50, y = pick(500) - 50;
        switch (pick(12)) {
        case 0:
            tool(tools[pick(10)]);
            break;
        case 1:
        case 2:
            send(QEvent::MouseButtonPress, buttons[pick(4)], x, y);
            break;
        case 3:
        case 4:
        case 5:
            send(QEvent::MouseMove, Qt::NoButton, x, y);
            break;
        case 6:
            send(QEvent::MouseButtonRelease, buttons[pick(4)], x, y);
            break;
        case 7:
            keys.leftCtrl = pick(3) == 0;
            keys.rightCtrl = pick(4) == 0;
            keys.alt = pick(4) == 0;
            break;
        case 8:
            form->action(QLatin1String(commands[pick(9)]))->trigger();
            break;
        case 9:
            form->zoomed->setValue(10 * (1 + pick(60)));
            break;
        case 10:
            form->ScrollBar1->setValue(pick(400) - 200);
            break;
        case 11:
            if (pick(20) == 0)
                list().removeAll(); // what clearing the drawing does
            break;
        }
        for (int i = 0; i < list().count(); ++i) {
            const Telemente& e = list().at(i);
            ASSERT_NE(e.vert, nullptr) << "step " << step;
            if (e.typ == typPolygon || e.typ == typStrecke) {
                ASSERT_GE(vertexCount(e), 2) << "step " << step;
            }
        }
    }
}

} // namespace
} // namespace pm
