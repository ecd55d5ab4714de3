// Opening pictures in the main window.
#include "app/mainform.h"
#include "app/widgets.h"
#include "support/fakes.h"

#include <QAction>
#include <QDoubleSpinBox>
#include <QImage>
#include <QSpinBox>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace pm {
namespace {

class PictureTest : public testing::Test {
protected:
    void SetUp() override {
        config.progpath = dir.path();
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
