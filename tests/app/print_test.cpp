// Printing to a PDF file and looking at the page as an independent reader renders it.
#include "acquire/rasterio.h"
#include "app/mainform.h"
#include "app/printform.h"
#include "support/appconfig.h"
#include "support/fakes.h"

#include <QAction>
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QImage>
#include <QPageLayout>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

namespace pm {
namespace {

bool near(const QColor& a, const QColor& b) {
    return std::abs(a.red() - b.red()) <= 8 && std::abs(a.green() - b.green()) <= 8 &&
           std::abs(a.blue() - b.blue()) <= 8;
}

class PrintTest : public testing::Test {
protected:
    void SetUp() override {
        config = test::isolatedConfig(dir);
        config.messages = &msgs;
        QImage img(800, 400, QImage::Format_RGB32);
        img.fill(QColor(0, 0, 255));
        picture = dir.filePath(QStringLiteral("wide.png"));
        ASSERT_TRUE(img.save(picture));
        config.arguments = {picture};
        form = std::make_unique<TMainForm>(config);
        form->show();
        pdf = dir.filePath(QStringLiteral("page.pdf"));
        QPrinter& p = form->printer();
        p.setOutputFormat(QPrinter::PdfFormat);
        p.setOutputFileName(pdf);
        p.setPageLayout(
            QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    }
    // The printed page, rendered by pdftoppm.
    QImage page() {
        if (const QByteArray shots = qgetenv("PICMETRA_SHOTS"); !shots.isEmpty())
            QFile::copy(pdf,
                        QString::fromLocal8Bit(shots) + QStringLiteral("/") +
                            QString::fromStdString(
                                testing::UnitTest::GetInstance()->current_test_info()->name()) +
                            QStringLiteral(".pdf"));
        const QString png = dir.filePath(QStringLiteral("page"));
        const QString cmd =
            QStringLiteral("pdftoppm -r 30 -png -singlefile '%1' '%2'").arg(pdf, png);
        EXPECT_EQ(std::system(cmd.toLocal8Bit().constData()), 0);
        return QImage(png + QStringLiteral(".png"));
    }
    void acceptPrintDialog(const std::function<void()>& before = {}) {
        QTimer::singleShot(0, form->PrintForm, [this, before] {
            if (before)
                before();
            form->PrintForm->OkBitBtn1->click();
        });
    }

    QTemporaryDir dir;
    test::FakeMessages msgs;
    AppConfig config;
    QString picture, pdf;
    std::unique_ptr<TMainForm> form;
};

TEST_F(PrintTest, WidePictureFillsThePortraitPageWidthCentred) {
    acceptPrintDialog();
    form->action(QStringLiteral("Drucken1"))->trigger();
    EXPECT_TRUE(msgs.shown.empty());
    const QImage p = page();
    ASSERT_FALSE(p.isNull());
    const int W = p.width(), H = p.height();
    EXPECT_GT(H, W); // portrait
    // The print is W wide and W / 2 high, in the middle of the page.
    const int top = (H - W / 2) / 2;
    const QColor blue(0, 0, 255), white(255, 255, 255);
    EXPECT_TRUE(near(p.pixelColor(W / 2, H / 2), blue));
    EXPECT_TRUE(near(p.pixelColor(3, H / 2), blue));
    EXPECT_TRUE(near(p.pixelColor(W / 2, top + 3), blue));
    EXPECT_TRUE(near(p.pixelColor(W / 2, top - 4), white));
    EXPECT_TRUE(near(p.pixelColor(W / 2, H - top + 4), white));
}

TEST_F(PrintTest, WithoutPictureAndCustomSizeAtTheCorner) {
    Telemente* e = form->document().elemente.append();
    e->typ = typRechteck;
    e->x1 = 0;
    e->y1 = 0;
    e->x2 = 800;
    e->y2 = 400;
    form->zoomed->setValue(100);
    form->WidthEd->setValue(10);
    acceptPrintDialog([this] {
        form->PrintForm->UserdefCheck->click();
        form->PrintForm->SverhCheck->setChecked(false);
        form->PrintForm->ZentrCheck->setChecked(false);
        form->PrintForm->BreitEdit->setValue(50);
        form->PrintForm->HochEdit->setValue(25);
    });
    form->action(QStringLiteral("DruckenohneBild1"))->trigger();
    const QImage p = page();
    ASSERT_FALSE(p.isNull());
    const int W = p.width(), H = p.height();
    EXPECT_TRUE(near(p.pixelColor(W / 4, H / 8), QColor(255, 255, 255))); // no picture
    // The rectangle's outline runs along the print's edges in the top-left corner: half the
    // page wide, a quarter high.
    auto reddish = [&](int x, int y) {
        const QColor c = p.pixelColor(x, y);
        return c.red() > 200 && c.green() < 180 && c.blue() < 180;
    };
    int top = 0, side = 0;
    for (int x = 0; x < W / 2 - 2; ++x)
        top += reddish(x, 0) || reddish(x, 1);
    for (int y = 0; y < H / 4 - 2; ++y)
        side += reddish(0, y) || reddish(1, y);
    EXPECT_GT(top, W / 3);
    EXPECT_GT(side, H / 6);
    EXPECT_FALSE(reddish(W * 3 / 4, 1)); // nothing beyond half the width
    EXPECT_TRUE(near(p.pixelColor(W * 3 / 4, H / 2), QColor(255, 255, 255)));
}

TEST_F(PrintTest, WidthRuleKeepsTheProportionWithoutLooping) {
    TPrintForm& f = *form->PrintForm;
    dib d;
    newdib(d, 100, 100, 24, nullptr, 0);
    f.setPicture(d);
    f.show();
    f.UserdefCheck->click();
    const QSize page = f.pageSize();
    f.BreitEdit->setValue(40);
    EXPECT_EQ(f.HochEdit->value(), int(100.0 * 40 / 100 * page.width() / page.height()));
    f.HochEdit->setValue(20);
    EXPECT_EQ(f.BreitEdit->value(), int(100.0 * 20 / 100 * page.height() / page.width()));
    EXPECT_FALSE(f.inedit);
    f.close();
}

} // namespace
} // namespace pm
