#include "app/mainform.h"
#include "app/qtext.h"
#include "app/widgets.h"
#include "support/appconfig.h"
#include "support/fakes.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <gtest/gtest.h>

#include <clocale>
#include <cstring>

namespace pm {
namespace {

class MainFormTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        config = test::isolatedConfig(dir);
        config.messages = &msgs;
        config.dialogs = &dialogs;
    }
    QTemporaryDir dir;
    test::FakeMessages msgs;
    test::FakeDialogs dialogs;
    AppConfig config;
};

TEST_F(MainFormTest, StartsWithWhitePictureEmptyListAndDesignedControls) {
    TMainForm form(config);
    form.show();
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Tervalo Picmetra 1.0"));
    EXPECT_EQ(form.height() - form.menuBar()->height(), 555); // client area below the menu
    EXPECT_EQ(form.width(), 904);

    const dib& di = form.document().di;
    ASSERT_NE(di.poi, nullptr);
    EXPECT_EQ(dibwidth(di), 320);
    EXPECT_EQ(dibheight(di), 320);
    EXPECT_EQ(dibbitcount(di), 24);
    const std::size_t bytes = std::size_t(di.bytew) * 320;
    EXPECT_EQ(std::memchr(di.poi, 0, bytes), nullptr);
    EXPECT_EQ(std::count(di.poi, di.poi + bytes, 255), std::ptrdiff_t(bytes));

    EXPECT_EQ(form.document().elemente.count(), 0);
    EXPECT_EQ(form.document().scale.mas1, 1.0);
    EXPECT_EQ(form.document().scale.mas2, 1.0);
    EXPECT_EQ(form.WidthEd->value(), 2.0);
    EXPECT_EQ(form.PfeillangEd->value(), 30.0);
    EXPECT_EQ(form.zoomed->value(), 100);
    EXPECT_EQ(form.zoomed->minimum(), 10);
    EXPECT_EQ(form.zoomed->maximum(), 30000);
    EXPECT_EQ(form.zoomed->singleStep(), 10);
    for (QScrollBar* s : {form.ScrollBar1, form.ScrollBar2}) {
        EXPECT_EQ(s->minimum(), -10000);
        EXPECT_EQ(s->maximum(), 10000);
        EXPECT_EQ(s->singleStep(), 10);
        EXPECT_EQ(s->pageStep(), 50);
    }
    EXPECT_TRUE(form.ShowPicCheck->isChecked());
    EXPECT_EQ(form.ListView1->width(), 280);
    QStringList headers;
    for (int c = 0; c < 5; ++c)
        headers << form.ListView1->model()->headerData(c, Qt::Horizontal).toString();
    EXPECT_EQ(headers.join(QLatin1Char('|')),
              QStringLiteral("Typ|Bezeichnung|Länge/Umfang|Flächeninhalt|Winkel"));

    QStringList menus;
    for (QAction* a : form.menuBar()->actions())
        menus << a->text();
    EXPECT_EQ(menus.join(QLatin1Char('|')),
              QStringLiteral("Datei|Bearbeiten|Einstellungen|Maßstab|Sprache|Hilfe"));
    EXPECT_FALSE(form.action(QStringLiteral("LinienalsSVGspeichern1"))->isVisible());
    EXPECT_EQ(form.action(QStringLiteral("Lschen1"))->shortcut(), QKeySequence(Qt::Key_Delete));

    // Ten tool buttons of 31 x 31, none down at start.
    QStringList names;
    for (QAbstractButton* b : form.tools->buttons()) {
        names << b->objectName();
        EXPECT_EQ(b->size(), QSize(31, 31));
    }
    EXPECT_EQ(names.join(QLatin1Char(' ')),
              QStringLiteral("ZeigerBtn HandBtn DimensionBtn StreckeBtn PolygonBtn RectBtn "
                             "CircleBtn SchraegBtn massstabBtn TextBtn"));
    EXPECT_EQ(form.tools->checkedButton(), nullptr);
    form.findChild<QToolButton*>(QStringLiteral("RectBtn"))->click();
    form.findChild<QToolButton*>(QStringLiteral("RectBtn"))->click(); // stays down
    EXPECT_EQ(form.tools->checkedButton()->objectName(), QStringLiteral("RectBtn"));
}

TEST_F(MainFormTest, NumbersUseAPointUnderAGermanLocale) {
    // scripts/deps generates the locale.
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr);
    char comma[16];
    std::snprintf(comma, sizeof comma, "%.1f", 2.5);
    ASSERT_STREQ(comma, "2,5"); // the locale really uses a comma
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    TMainForm form(config);
    EXPECT_EQ(form.WidthEd->text(), QStringLiteral("2.0"));
    EXPECT_EQ(form.PfeillangEd->text(), QStringLiteral("30.00"));
    form.massstabForm->PixelEd->setValue(1234.5);
    EXPECT_EQ(form.massstabForm->PixelEd->text(), QStringLiteral("1234.5000"));
    EXPECT_EQ(QString::number(0.5), QStringLiteral("0.5"));
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.1f", 2.5);
    EXPECT_STREQ(buf, "2.5");
}

TEST_F(MainFormTest, ClosingAsksNothingAndReleasesEverything) {
    auto* form = new TMainForm(config);
    form->show();
    ElementList& list = form->document().elemente;
    for (int i = 0; i < 3; ++i) {
        Telemente* e = list.append();
        e->typ = typPolygon;
        list.appendVertex(*e, 1, 2);
        storename(e->name, u"Fläche");
    }
    list.GetObject(0)->selected = true;
    list.copySelectedToKopie();
    form->action(QStringLiteral("Beenen1"))->trigger();
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(msgs.asked.empty());
    EXPECT_TRUE(msgs.shown.empty());
    delete form; // the sanitizer build fails on anything left behind
}

TEST_F(MainFormTest, NumerischTakesTheDialogValues) {
    TMainForm form(config);
    dialogs.typed = {200, 50, u"mm", false};
    form.action(QStringLiteral("Numerisch1"))->trigger();
    EXPECT_EQ(dialogs.scaleShown, 1);
    EXPECT_TRUE(dialogs.seen.anzeigen);
    EXPECT_EQ(form.document().scale.mas1, 200);
    EXPECT_EQ(form.document().scale.mas2, 50);
    EXPECT_EQ(form.document().scale.einh, u"mm");
    EXPECT_FALSE(form.action(QStringLiteral("Anzeigen1"))->isChecked());
}

TEST_F(MainFormTest, ResultsListFollowsItsMenuMark) {
    TMainForm form(config);
    form.show();
    QAction* a = form.action(QStringLiteral("Ergebnisslisteanzeigen1"));
    EXPECT_TRUE(form.ListView1->isVisible());
    a->trigger();
    EXPECT_FALSE(form.ListView1->isVisible());
    a->trigger();
    EXPECT_TRUE(form.ListView1->isVisible());
}

TEST(ScaleDialog, ShowsTheDescribedControlsAndTakesValuesHoweverClosed) {
    TmassstabForm scale;
    TNeigungForm slope;
    TBezeichnungForm label;
    QtDialogService service(&scale, &slope, &label);
    EXPECT_EQ(scale.windowTitle(), QStringLiteral("Maßstab"));
    EXPECT_EQ(scale.size(), QSize(418, 180));
    EXPECT_EQ(scale.PixelEd->decimals(), 4);
    EXPECT_EQ(scale.entsprichted->decimals(), 4);
    EXPECT_TRUE(scale.PixelEd->alignment() & Qt::AlignRight);
    EXPECT_TRUE(scale.EinheitEd->isEditable());
    QStringList units;
    for (int i = 0; i < scale.EinheitEd->count(); ++i)
        units << scale.EinheitEd->itemText(i);
    EXPECT_EQ(units.join(QLatin1Char(',')),
              QStringLiteral("mm,cm,dm,m,km,Fuß,Yard,Inch,Meilen,Seemeilen"));

    // Typing a unit that begins another one keeps what was typed.
    scale.show();
    QApplication::setActiveWindow(&scale);
    scale.EinheitEd->setFocus();
    scale.EinheitEd->clearEditText();
    QTest::keyClicks(scale.EinheitEd, QStringLiteral("m"));
    EXPECT_EQ(scale.EinheitEd->currentText(), QStringLiteral("m"));
    scale.hide();

    for (bool viaOk : {true, false}) {
        QTimer::singleShot(0, &scale, [&] {
            EXPECT_EQ(scale.PixelEd->value(), 163.25);
            EXPECT_EQ(scale.EinheitEd->currentText(), QStringLiteral("Pixel"));
            scale.entsprichted->setValue(-2);
            scale.EinheitEd->setEditText(QStringLiteral("Ellen"));
            scale.CheckBox1->setChecked(false);
            if (viaOk)
                scale.BitBtn1->click();
            else
                scale.reject(); // the close box
        });
        ScaleDialogValues v{163.25, 1, u"Pixel", true};
        service.showScaleDialog(v);
        EXPECT_EQ(v.pixel, 163.25);
        EXPECT_EQ(v.entspricht, -2);
        EXPECT_EQ(v.einheit, u"Ellen");
        EXPECT_FALSE(v.anzeigen);
    }
}

TEST(SlopeDialog, GivesTheAngleOnlyOnOk) {
    TmassstabForm scale;
    TNeigungForm slope;
    TBezeichnungForm label;
    QtDialogService service(&scale, &slope, &label);
    EXPECT_EQ(slope.windowTitle(), QStringLiteral("Neigungswinkel eingeben"));
    QTimer::singleShot(0, &slope, [&] {
        slope.neiged->setValue(35);
        slope.OKBtn->click();
    });
    double angle = 0;
    EXPECT_TRUE(service.askSlope(angle));
    EXPECT_EQ(angle, 35);

    QTimer::singleShot(0, &slope, [&] {
        slope.neiged->setValue(50);
        QTest::keyClick(&slope, Qt::Key_Escape);
    });
    angle = 0;
    EXPECT_FALSE(service.askSlope(angle));
    EXPECT_EQ(angle, 0);
}

TEST(Keyboard, TellsLeftAndRightCtrlApartByKeySymbol) {
    KeyboardTracker tracker;
    qApp->installEventFilter(&tracker);
    QWidget target;
    auto send = [&](QEvent::Type type, int key, quint32 keysym) {
        QKeyEvent e(type, key, Qt::NoModifier, 0, keysym, 0);
        QCoreApplication::sendEvent(&target, &e);
    };
    send(QEvent::KeyPress, Qt::Key_Control, 0xffe4); // Control_R
    EXPECT_TRUE(tracker.ctrlDown());
    EXPECT_FALSE(tracker.leftCtrlDown());
    send(QEvent::KeyPress, Qt::Key_Control, 0xffe3); // Control_L
    EXPECT_TRUE(tracker.leftCtrlDown());
    send(QEvent::KeyRelease, Qt::Key_Control, 0xffe4);
    EXPECT_TRUE(tracker.ctrlDown());
    send(QEvent::KeyRelease, Qt::Key_Control, 0xffe3);
    EXPECT_FALSE(tracker.ctrlDown());
    send(QEvent::KeyPress, Qt::Key_Alt, 0xffe9);
    EXPECT_TRUE(tracker.altDown());
    QEvent away(QEvent::ApplicationDeactivate);
    QCoreApplication::sendEvent(qApp, &away);
    EXPECT_FALSE(tracker.altDown());
    qApp->removeEventFilter(&tracker);
}

TEST(FileFilter, PipeListBecomesQtFilter) {
    EXPECT_EQ(qtFileFilter("Alle Bilder|*.bmp;*.png|PNG|*.png"),
              QStringLiteral("Alle Bilder (*.bmp *.png);;PNG (*.png)"));
    EXPECT_EQ(qtFileFilter("Vermessungsprojekt (*.ver)|*.ver"),
              QStringLiteral("Vermessungsprojekt (*.ver) (*.ver)"));
}

} // namespace
} // namespace pm
