// Scanning through SANE's own test backend, set up in a configuration folder of the test's.
#include "acquire/rasterio.h"
#include "app/mainform.h"
#include "support/appconfig.h"
#include "support/fakes.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProgressDialog>
#include <QSpinBox>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdlib>
#include <dlfcn.h>

namespace pm {
namespace {

class ScanTest : public testing::Test {
protected:
    // SANE reads its configuration once per process; each test runs in a process of its own.
    void configure(const QByteArray& dll, const QByteArray& testConf) {
        QFile d(dir.filePath(QStringLiteral("dll.conf")));
        ASSERT_TRUE(d.open(QIODevice::WriteOnly));
        d.write(dll);
        d.close();
        QFile t(dir.filePath(QStringLiteral("test.conf")));
        ASSERT_TRUE(t.open(QIODevice::WriteOnly));
        t.write(testConf);
        t.close();
        setenv("SANE_CONFIG_DIR", dir.path().toLocal8Bit().constData(), 1);
        // The test backend keeps its read buffer when a scan is cancelled. Kept loaded after
        // SANE lets it go, its name stays known, and the leak checker's list of system leaks
        // can name it.
        dlopen("/usr/lib/x86_64-linux-gnu/sane/libsane-test.so.1", RTLD_NOW | RTLD_NODELETE);
        config = test::isolatedConfig(dir);
        config.messages = &msgs;
        config.dialogs = &dialogs;
        form = std::make_unique<TMainForm>(config);
        form->show();
    }
    void waitForScan() {
        QElapsedTimer t;
        t.start();
        while (form->scanRunning() && t.elapsed() < 20000)
            QApplication::processEvents(QEventLoop::AllEvents, 50);
        ASSERT_FALSE(form->scanRunning());
    }
    QTemporaryDir dir;
    test::FakeMessages msgs;
    test::FakeDialogs dialogs;
    AppConfig config;
    std::unique_ptr<TMainForm> form;
};

TEST_F(ScanTest, ColourScanBecomesTheTrueColourPictureKeepingElementsAndZoom) {
    configure("test\n", "mode Color\ntest-picture \"Color pattern\"\nresolution 50\n");
    Telemente* e = form->document().elemente.append();
    e->typ = typRechteck;
    e->x2 = 10;
    form->zoomed->setValue(150);
    form->action(QStringLiteral("Scannerwhlen1"))->trigger();
    ASSERT_FALSE(dialogs.scannersSeen.empty());
    EXPECT_NE(dialogs.scannersSeen[0].find("test:0"), std::string::npos);
    form->action(QStringLiteral("Scannen1"))->trigger();
    waitForScan();
    const dib& di = form->document().di;
    EXPECT_EQ(dibbitcount(di), 24);
    EXPECT_GT(dibwidth(di), 100); // 80 mm at 50 dpi
    EXPECT_NE(dibwidth(di), 320);
    // The colour pattern has colours, not just grey.
    bool coloured = false;
    for (int x = 0; x < dibwidth(di) && !coloured; ++x) {
        const std::uint32_t c = getcolor(di, x, dibheight(di) / 2);
        coloured = (c >> 16 & 0xFF) != (c & 0xFF);
    }
    EXPECT_TRUE(coloured);
    EXPECT_EQ(form->document().elemente.count(), 1);
    EXPECT_EQ(form->zoomed->value(), 150);
    EXPECT_TRUE(msgs.shown.empty());
}

TEST_F(ScanTest, GreyScanIsEightBits) {
    configure("test\n", "mode Gray\ntest-picture \"Grid\"\nresolution 50\n");
    form->action(QStringLiteral("Scannen1"))->trigger();
    waitForScan();
    EXPECT_EQ(dibbitcount(form->document().di), 8);
}

TEST_F(ScanTest, CancelledScanLeavesTheDocumentAlone) {
    // A large scan (about 50 MB at 1200 dots per inch), so that the cancel arrives in time.
    configure("test\n", "mode Color\nresolution 1200\n");
    form->action(QStringLiteral("Scannen1"))->trigger();
    ASSERT_TRUE(form->scanRunning());
    QApplication::processEvents();
    auto* progress = form->findChild<QProgressDialog*>(QStringLiteral("ScanProgress"));
    ASSERT_NE(progress, nullptr);
    emit progress->canceled(); // what its Cancel button does
    waitForScan();
    EXPECT_EQ(dibwidth(form->document().di), 320);
    EXPECT_TRUE(msgs.shown.empty());
}

TEST_F(ScanTest, NoScannerSaysSo) {
    configure("", "");
    form->action(QStringLiteral("Scannen1"))->trigger();
    EXPECT_FALSE(form->scanRunning());
    ASSERT_EQ(msgs.shown.size(), 1u);
    EXPECT_EQ(msgs.shown[0].text, "Es wurde kein Scanner gefunden.");
    form->action(QStringLiteral("Scannerwhlen1"))->trigger();
    EXPECT_EQ(msgs.shown.size(), 2u);
    EXPECT_EQ(dibwidth(form->document().di), 320);
}

TEST_F(ScanTest, TokenWithoutPictureChangesNothing) {
    configure("", "");
    ScanReadyEvent nothing(12345);
    QApplication::sendEvent(form.get(), &nothing);
    QApplication::processEvents();
    EXPECT_EQ(dibwidth(form->document().di), 320);
    EXPECT_TRUE(msgs.shown.empty());
}

} // namespace
} // namespace pm
