// Opening pictures in the main window.
#include "app/mainform.h"
#include "app/widgets.h"
#include "support/appconfig.h"
#include "support/fakes.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QDate>
#include <QDoubleSpinBox>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTreeView>
#include <gtest/gtest.h>

namespace pm {
namespace {

class PictureTest : public testing::Test {
protected:
    void SetUp() override {
        config = test::isolatedConfig(dir);
        config.messages = &msgs;
        config.files = &files;
        QImage img(800, 400, QImage::Format_RGB32);
        img.fill(Qt::green);
        picture = dir.filePath(QStringLiteral("plan.png"));
        ASSERT_TRUE(img.save(picture));
    }
    std::unique_ptr<TMainForm> make() {
        auto form = std::make_unique<TMainForm>(config);
        form->show();
        return form;
    }
    QAction* adapt(TMainForm& f) {
        return f.action(
            QStringLiteral("PfeillngeundSchriftgrebeimffneneinesBildesautomatischvoreinstellen1"));
    }
    QTemporaryDir dir;
    test::FakeMessages msgs;
    test::FakeFiles files;
    test::FakeDialogs dialogs;
    AppConfig config;
    QString picture;
};

TEST_F(PictureTest, PictureFillsTheWidthAndAdaptsArrowsAndLabels) {
    auto form = make();
    Telemente* e = form->document().elemente.append();
    e->typ = typRechteck;
    e->x2 = 33;
    files.next = picture.toStdString();
    form->action(QStringLiteral("Bildffnen1"))->trigger();
    EXPECT_EQ(dibwidth(form->document().di), 800);
    const int z = form->zoomed->value();
    EXPECT_EQ(z, form->PaintBox1->width() * 100 / 800);
    EXPECT_DOUBLE_EQ(form->PfeillangEd->value(), std::round(3000.0 / z * 100) / 100);
    EXPECT_EQ(form->labelFont.height, int(std::nearbyint(-1500.0 / z)));
    EXPECT_EQ(form->document().elemente.count(), 1);
    EXPECT_EQ(form->document().elemente.at(0).x2, 33);
    EXPECT_TRUE(msgs.shown.empty());
}

TEST_F(PictureTest, WithTheOptionOffArrowAndFontStay) {
    auto form = make();
    adapt(*form)->trigger(); // off
    files.next = picture.toStdString();
    form->action(QStringLiteral("Bildffnen1"))->trigger();
    EXPECT_EQ(form->PfeillangEd->value(), 30.0);
    EXPECT_EQ(form->labelFont.height, -15);
}

TEST_F(PictureTest, SwitchingTheOptionOnAdaptsAtOnce) {
    auto form = make();
    adapt(*form)->trigger(); // off
    form->zoomed->setValue(200);
    adapt(*form)->trigger(); // on again
    EXPECT_EQ(form->PfeillangEd->value(), 15.0);
    EXPECT_EQ(form->labelFont.height, -8); // -7.5 to the even neighbour
}

TEST_F(PictureTest, UndecodableFileSaysSoAndChangesNothing) {
    auto form = make();
    const QString bad = dir.filePath(QStringLiteral("bad.png"));
    QFile f(bad);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("not a picture");
    f.close();
    form->zoomed->setValue(150);
    files.next = bad.toStdString();
    form->action(QStringLiteral("Bildffnen1"))->trigger();
    ASSERT_EQ(msgs.shown.size(), 1u);
    EXPECT_EQ(msgs.shown[0].text, "Konnte das Bild nicht laden.");
    EXPECT_EQ(msgs.shown[0].caption, "");
    EXPECT_EQ(dibwidth(form->document().di), 320);
    EXPECT_EQ(form->zoomed->value(), 150);

    files.next.clear(); // cancelled
    form->action(QStringLiteral("Bildffnen1"))->trigger();
    EXPECT_EQ(msgs.shown.size(), 1u);
    EXPECT_EQ(dibwidth(form->document().di), 320);
}

TEST_F(PictureTest, FirstArgumentOpensAtFirstShow) {
    config.arguments = {picture, QStringLiteral("ignored.png")};
    auto form = make();
    EXPECT_EQ(dibwidth(form->document().di), 800);
    EXPECT_TRUE(msgs.shown.empty());
}

} // namespace
} // namespace pm

namespace pm {
namespace {

TEST_F(PictureTest, ProjectSavedAndOpenedInAnotherWindow) {
    auto form = make();
    form->LadeBild(picture);
    Telemente* e = form->document().elemente.append();
    e->typ = typRechteck;
    e->x2 = 50;
    e->y2 = 20;
    storename(e->name, u"Raum");
    form->Shape1->setColor(QColor(0, 128, 0));
    form->WidthEd->setValue(3.5);
    form->zoomed->setValue(230);
    form->action(QStringLiteral("Ergebnisslisteanzeigen1"))->trigger(); // hidden
    form->labelFont.height = -21;
    files.next = dir.filePath(QStringLiteral("haus.ver")).toStdString();
    form->action(QStringLiteral("Projektspeichern1"))->trigger();
    EXPECT_EQ(files.lastSuffix, "ver");
    EXPECT_EQ(files.lastFilter, "Vermessungsprojekt (*.ver)|*.ver");

    auto other = make();
    other->document().scale = {2, 1, u"m"}; // the scale is not in the file and stays
    other->action(QStringLiteral("Projektffnen1"))->trigger();
    EXPECT_TRUE(msgs.shown.empty());
    ASSERT_EQ(other->document().elemente.count(), 1);
    EXPECT_EQ(labelOf(other->document().elemente.at(0)), u"Raum");
    EXPECT_EQ(dibwidth(other->document().di), 800);
    EXPECT_EQ(other->Shape1->color(), QColor(0, 128, 0));
    EXPECT_EQ(other->WidthEd->value(), 3.5);
    EXPECT_EQ(other->zoomed->value(), 230);
    EXPECT_FALSE(other->ListView1->isVisible());
    EXPECT_EQ(other->labelFont.height, -21);
    EXPECT_EQ(other->document().scale.mas1, 2);
    EXPECT_DOUBLE_EQ(other->document().elemente.at(0).flaeche, 250); // recomputed at 0.5 m/px
}

TEST_F(PictureTest, DamagedProjectLeavesTheDocumentAsItWas) {
    auto form = make();
    Telemente* e = form->document().elemente.append();
    e->typ = typRechteck;
    const QString bad = dir.filePath(QStringLiteral("bad.ver"));
    QFile f(bad);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray("\x01\x00\x00\x00", 4) + QByteArray(100, 'x'));
    f.close();
    files.next = bad.toStdString();
    form->action(QStringLiteral("Projektffnen1"))->trigger();
    ASSERT_EQ(msgs.shown.size(), 1u);
    EXPECT_EQ(msgs.shown[0].text.rfind("Konnte Datei nicht öffnen.", 0), 0u);
    EXPECT_EQ(form->document().elemente.count(), 1);
    EXPECT_EQ(dibwidth(form->document().di), 320);

    files.next = dir.filePath(QStringLiteral("nowhere/x.ver")).toStdString();
    form->action(QStringLiteral("Projektspeichern1"))->trigger();
    ASSERT_EQ(msgs.shown.size(), 2u);
    EXPECT_EQ(msgs.shown[1].text, "Konnte Datei nicht erzeugen.");
}

} // namespace
} // namespace pm

namespace pm {
namespace {

TEST_F(PictureTest, ExportsByTheFileNamesExtension) {
    config.dialogs = &dialogs;
    QImage big(1000, 500, QImage::Format_RGB32);
    big.fill(QColor(0, 0, 200));
    const QString bigFile = dir.filePath(QStringLiteral("big.png"));
    ASSERT_TRUE(big.save(bigFile));
    auto form = make();
    form->LadeBild(bigFile);
    form->zoomed->setValue(50);
    form->ScrollBar1->setValue(300); // the export ignores the scroll position
    Telemente* d = form->document().elemente.append();
    d->typ = typAbstand;
    d->x1 = 100;
    d->y1 = 100;
    d->x2 = 900;
    d->y2 = 100;
    d->x3 = 500;
    d->y3 = 200;
    d->selected = true;
    Telemente* e = form->document().elemente.append();
    e->typ = typEllipse;
    e->x1 = 10;
    e->y1 = 20;
    e->x2 = 30;
    e->y2 = 60;

    files.next = dir.filePath(QStringLiteral("with.png")).toStdString();
    form->action(QStringLiteral("AlsBildspeichern1"))->trigger();
    EXPECT_EQ(files.lastSuffix, "bmp");
    QImage with(QString::fromStdString(files.next));
    ASSERT_EQ(with.size(), QSize(500, 250));
    EXPECT_EQ(with.pixelColor(490, 240), QColor(0, 0, 200));
    EXPECT_EQ(with.pixelColor(250, 100), QColor(255, 0, 0)); // the dimension line at y = 200 / 2

    files.next = dir.filePath(QStringLiteral("lines")).toStdString(); // no extension: BMP
    form->action(QStringLiteral("AlsBildspeichernnurLinien1"))->trigger();
    QFile bmp(QString::fromStdString(files.next));
    ASSERT_TRUE(bmp.open(QIODevice::ReadOnly));
    EXPECT_TRUE(bmp.read(2) == "BM");
    bmp.close();
    QImage lines(QString::fromStdString(files.next), "BMP");
    EXPECT_EQ(lines.pixelColor(490, 240), QColor(255, 255, 255));

    files.next = dir.filePath(QStringLiteral("drawing.svg")).toStdString();
    form->action(QStringLiteral("AlsBildspeichernnurLinien1"))->trigger();
    QFile svg(QString::fromStdString(files.next));
    ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
    const QByteArray text = svg.readAll();
    EXPECT_TRUE(text.contains("viewBox=\"0 0 1000 500\"")) << text.left(400).toStdString();
    EXPECT_TRUE(text.contains("800.00 Pixel")); // the label as text
    EXPECT_FALSE(text.contains("<image"));

    files.next = dir.filePath(QStringLiteral("lines.emf")).toStdString();
    form->action(QStringLiteral("AlsBildspeichernnurLinien1"))->trigger();
    EXPECT_TRUE(QFile::exists(QString::fromStdString(files.next)));

    dialogs.piecesTyped = 7;
    files.next = dir.filePath(QStringLiteral("cnc.dxf")).toStdString();
    form->action(QStringLiteral("AlsBildspeichernnurLinien1"))->trigger();
    EXPECT_EQ(dialogs.piecesSeen, 4);
    QFile dxf(QString::fromStdString(files.next));
    ASSERT_TRUE(dxf.open(QIODevice::ReadOnly));
    EXPECT_EQ(dxf.readAll().count("VERTEX"), 2 * 16 * 7); // the ellipse only
    EXPECT_TRUE(msgs.shown.empty());

    files.next = dir.filePath(QStringLiteral("no/such/dir.dxf")).toStdString();
    form->action(QStringLiteral("AlsBildspeichernnurLinien1"))->trigger();
    ASSERT_EQ(msgs.shown.size(), 1u);
    EXPECT_EQ(msgs.shown[0].text.rfind("Konnte diese Datei nicht erstellen: ", 0), 0u);
}

} // namespace
} // namespace pm

namespace pm {
namespace {

TEST_F(PictureTest, ColourFontAboutAndGraphicalScaleCommands) {
    config.dialogs = &dialogs;
    auto form = make();
    // The swatch and the button open the same colour dialog; cancelling keeps the colour.
    dialogs.colorOk = false;
    form->ChooseColorBtn->click();
    EXPECT_EQ(dialogs.colorSeen, 0xFF0000u);
    EXPECT_EQ(form->Shape1->color(), QColor(255, 0, 0));
    dialogs.colorOk = true;
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(form->Shape1, &press);
    EXPECT_EQ(form->Shape1->color(), QColor(0, 255, 0));

    form->FontBtn->click();
    EXPECT_EQ(dialogs.fontShown, 1);
    EXPECT_EQ(form->labelFont.face, u"DejaVu Serif");
    EXPECT_EQ(form->labelFont.height, -20);
    EXPECT_TRUE(form->labelFont.bold);
    EXPECT_EQ(form->labelFont.color, (Rgb{0, 0, 255}));

    form->action(QStringLiteral("Grafisch1"))->trigger();
    EXPECT_EQ(form->tools->checkedButton()->objectName(), QStringLiteral("massstabBtn"));

    EXPECT_EQ(form->AboutBox->windowTitle(), QStringLiteral("Info"));
    EXPECT_EQ(form->AboutBox->Copyright->text(),
              QStringLiteral("Copyright © %1 Tervalo").arg(QDate::currentDate().year()));
}

} // namespace
} // namespace pm
