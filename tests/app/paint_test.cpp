// The full repaint in the real window: picture, elements, presentation and results list.
#include "acquire/rasterio.h"
#include "app/mainform.h"
#include "app/resultsmodel.h"
#include "app/widgets.h"
#include "support/appconfig.h"
#include "support/fakes.h"

#include "support/elements.h"
#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QScrollBar>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTreeView>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <cstring>

namespace pm {
namespace {

class PaintTest : public testing::Test {
protected:
    void SetUp() override {
        config = test::isolatedConfig(dir);
        config.messages = &msgs;
        config.files = &files;
        form = std::make_unique<TMainForm>(config);
        form->show();
    }
    Telemente& add(int typ, Pt p1, Pt p2, Pt p3 = {}) {
        return test::addElement(form->document().elemente, typ, p1, p2, p3);
    }
    QRgb pixel(int x, int y) { return form->bit().pixel(x, y) & 0xFFFFFF; }

    QTemporaryDir dir;
    test::FakeMessages msgs;
    test::FakeFiles files;
    AppConfig config;
    std::unique_ptr<TMainForm> form;
};

TEST_F(PaintTest, PictureAtZoomAndScrollOnWhiteBackground) {
    dib& di = form->document().di;
    setpixel(di, 0, 0, 0x0000FF); // top-left pixel blue
    form->zoomed->setValue(200);
    EXPECT_EQ(pixel(0, 0), 0x0000FFu);
    EXPECT_EQ(pixel(1, 1), 0x0000FFu);
    EXPECT_EQ(pixel(2, 2), 0xFFFFFFu);
    form->ScrollBar1->setValue(-10); // the picture moves right
    EXPECT_EQ(pixel(10, 0), 0x0000FFu);
    EXPECT_EQ(pixel(9, 0), 0xFFFFFFu);
    form->ShowPicCheck->setChecked(false);
    EXPECT_EQ(pixel(10, 0), 0xFFFFFFu);
    EXPECT_EQ(form->results->rowCount(), 0);
}

TEST_F(PaintTest, WheelScrollsVerticallyByTwentyAndStopsAtTheEnd) {
    int passes = 0;
    QObject::connect(form->results, &QAbstractItemModel::modelReset, [&] { ++passes; });
    add(typRechteck, {0, 0}, {10, 10}); // the first pass resets the model, later ones do not
    auto wheel = [&](int delta) {
        QWheelEvent e(QPointF(100, 100), QPointF(100, 100), QPoint(), QPoint(0, delta),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(form.get(), &e);
    };
    wheel(-120);
    EXPECT_EQ(form->ScrollBar2->value(), 20);
    wheel(240);
    EXPECT_EQ(form->ScrollBar2->value(), -20);
    form->ScrollBar2->setValue(10000);
    const int before = passes;
    wheel(-120);
    EXPECT_EQ(form->ScrollBar2->value(), 10000);
    EXPECT_EQ(passes, before);
}

TEST_F(PaintTest, EveryPassRefillsTheResultsListAlsoWhileHidden) {
    form->action(QStringLiteral("Ergebnisslisteanzeigen1"))->trigger();
    EXPECT_FALSE(form->ListView1->isVisible());
    Telemente& d = add(typAbstand, {0, 0}, {30, 40}, {0, 0});
    storename(d.name, u"Giebel");
    add(typText, {5, 5}, {5, 5});
    form->PaintBox1Paint();
    form->action(QStringLiteral("Ergebnisslisteanzeigen1"))->trigger();
    EXPECT_TRUE(form->ListView1->isVisible());
    QAbstractItemModel* m = form->ListView1->model();
    ASSERT_EQ(m->rowCount(), 1);
    EXPECT_EQ(m->index(0, 0).data().toString(), QStringLiteral("Abstand"));
    EXPECT_EQ(m->index(0, 1).data().toString(), QStringLiteral("Giebel"));
    EXPECT_EQ(m->index(0, 2).data().toString(), QStringLiteral("50.0000"));
    EXPECT_EQ(m->index(0, 3).data().toString(), QString());
    EXPECT_EQ(m->index(0, 4).data().toString(), QStringLiteral("53.1301"));
}

TEST_F(PaintTest, DrawsEveryKindInTheLineColour) {
    form->Shape1->setColor(QColor(0, 0, 255));
    form->ShowPicCheck->setChecked(false);
    add(typRechteck, {20, 20}, {120, 80});
    form->PaintBox1Paint();
    // The rectangle's top edge, 2 pixels wide, in blue.
    EXPECT_EQ(pixel(70, 20), 0x0000FFu);
    EXPECT_EQ(pixel(70, 50), 0xFFFFFFu); // its inside is not filled
}

TEST_F(PaintTest, CsvExportWritesWhereTheUserSaidAndReportsFailure) {
    add(typRechteck, {0, 0}, {10, 10});
    form->PaintBox1Paint();
    files.next = dir.filePath(QStringLiteral("results.csv")).toStdString();
    form->action(QStringLiteral("MessergebnissealsCSVDateiexportieren1"))->trigger();
    EXPECT_EQ(files.lastFilter, "CSV-Dateien (*.csv)|*.csv");
    EXPECT_EQ(files.lastSuffix, "csv");
    QFile f(QString::fromStdString(files.next));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.readAll().contains("Rechteck,,40.0000,100.0000,,Pixel"));
    EXPECT_TRUE(msgs.shown.empty());

    files.next = dir.filePath(QStringLiteral("missing/results.csv")).toStdString();
    form->action(QStringLiteral("MessergebnissealsCSVDateiexportieren1"))->trigger();
    ASSERT_EQ(msgs.shown.size(), 1u);
    EXPECT_EQ(msgs.shown[0].text.rfind("Konnte Datei nicht erzeugen.", 0), 0u);

    files.next.clear(); // cancelled: nothing happens
    form->action(QStringLiteral("MessergebnissealsCSVDateiexportieren1"))->trigger();
    EXPECT_EQ(msgs.shown.size(), 1u);
}

// Renders a scene of every kind at three zooms; with PICMETRA_SHOTS set the frames are saved
// there to be looked at.
TEST_F(PaintTest, SceneOfEveryKindRendersAtEveryZoom) {
    form->resize(1100, 800);
    ElementList& list = form->document().elemente;
    form->document().scale = {100, 2.5, u"m"};
    add(typRechteck, {20, 20}, {120, 80});
    add(typEllipse, {150, 20}, {250, 90}).selected = true;
    Telemente& d = add(typAbstand, {20, 150}, {200, 150}, {110, 130});
    storename(d.name, u"Wand");
    Telemente& roof = add(typAbstand, {220, 200}, {300, 120}, {270, 170});
    roof.x4 = 35;
    storename(roof.name, u"Dach");
    add(typMassstab, {20, 300}, {120, 300}, {70, 290});
    Telemente& poly = add(typPolygon, {}, {});
    for (Pt p : {Pt{30, 200}, Pt{120, 190}, Pt{140, 260}, Pt{40, 270}, Pt{30, 200}})
        list.appendVertex(poly, p.x, p.y);
    storename(poly.name, u"Fläche");
    Telemente& path = add(typStrecke, {}, {});
    path.selected = true;
    for (Pt p : {Pt{160, 230}, Pt{200, 280}, Pt{260, 250}, Pt{300, 300}})
        list.appendVertex(path, p.x, p.y);
    Telemente& text = add(typText, {200, 30}, {200, 30});
    storename(text.name, u"Beschriftung");
    add(typCubicCurve, {250, 100}, {310, 60}, {260, 40}).x4 = 300;
    for (int zoom : {10, 100, 1000}) {
        form->zoomed->setValue(zoom);
        form->PaintBox1Paint();
        EXPECT_EQ(form->results->rowCount(), 6) << zoom;
        if (const QByteArray shots = qgetenv("PICMETRA_SHOTS"); !shots.isEmpty())
            form->bit().save(QString::fromLocal8Bit(shots) +
                             QStringLiteral("/scene-%1.png").arg(zoom));
    }
    EXPECT_EQ(text.x2 > text.x1, true); // the text label's corner was measured
    EXPECT_TRUE(msgs.shown.empty());
}

} // namespace
} // namespace pm
