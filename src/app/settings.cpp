// The stored form properties: window placement and state, seven check marks and the label
// font, kept per user in an INI file of the organisation Tervalo.
#include "app/mainform.h"

#include "app/qtext.h"
#include "app/widgets.h"

#include <QAction>
#include <QCheckBox>
#include <QSettings>
#include <QSpinBox>

#include "app/printform.h"

namespace pm {

namespace {
const char* const kStoredMarks[] = {
    "Anzeigen1",
    "BezeichnungfrElementeeingebenlassen1",
    "Ergebnisslisteanzeigen1",
    "NachMessungwiederdenZeigerauswhlen1",
    "PfeillngeundSchriftgrebeimffneneinesBildesautomatischvoreinstellen1",
    "SchriftumrandenumdieLesbarkeitzuverbessern1",
};
} // namespace

std::unique_ptr<QSettings> TMainForm::storage() const {
    if (!settingsFile_.isEmpty())
        return std::make_unique<QSettings>(settingsFile_, QSettings::IniFormat);
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                       QStringLiteral("Tervalo"), QStringLiteral("Picmetra"));
}

void TMainForm::restoreStoredProps() {
    const auto s = storage();
    s->beginGroup(QStringLiteral("MainForm"));
    if (s->contains(QStringLiteral("geometry")))
        restoreGeometry(s->value(QStringLiteral("geometry")).toByteArray());
    if (s->value(QStringLiteral("maximized"), false).toBool())
        setWindowState(windowState() | Qt::WindowMaximized);
    for (const char* name : kStoredMarks) {
        const QString key = QLatin1String(name) + QStringLiteral(".Checked");
        if (s->contains(key))
            action(QLatin1String(name))->setChecked(s->value(key).toBool());
    }
    if (s->contains(QStringLiteral("ShowPicCheck.Checked")))
        ShowPicCheck->setChecked(s->value(QStringLiteral("ShowPicCheck.Checked")).toBool());
    if (s->contains(QStringLiteral("Font/Name"))) {
        LabelFont f;
        f.face = us(s->value(QStringLiteral("Font/Name")).toString());
        f.height = s->value(QStringLiteral("Font/Height"), -15).toInt();
        const QRgb c = s->value(QStringLiteral("Font/Color"), 0xFF0000u).toUInt();
        f.color = {std::uint8_t(qRed(c)), std::uint8_t(qGreen(c)), std::uint8_t(qBlue(c))};
        const int style = s->value(QStringLiteral("Font/Style"), 0).toInt();
        f.bold = style & 1;
        f.italic = style & 2;
        f.underline = style & 4;
        f.strikeout = style & 8;
        f.charset = s->value(QStringLiteral("Font/Charset"), 1).toInt();
        f.pitch = s->value(QStringLiteral("Font/Pitch"), 0).toInt();
        f.pixelsPerInch = s->value(QStringLiteral("Font/PixelsPerInch"), 96).toInt();
        if (!f.face.empty() && f.pixelsPerInch > 0)
            labelFont = f;
    }
    s->endGroup();
    if (s->contains(QStringLiteral("PrintForm/BreitEdit"))) {
        PrintForm->inedit = true; // the values as stored, not one made from the other
        PrintForm->BreitEdit->setValue(s->value(QStringLiteral("PrintForm/BreitEdit")).toInt());
        PrintForm->HochEdit->setValue(s->value(QStringLiteral("PrintForm/HochEdit")).toInt());
        PrintForm->inedit = false;
    }
}

void TMainForm::saveStoredProps() {
    if (propsSaved_ || !openfirst_)
        return;
    propsSaved_ = true;
    const auto s = storage();
    s->beginGroup(QStringLiteral("MainForm"));
    s->setValue(QStringLiteral("geometry"), saveGeometry());
    s->setValue(QStringLiteral("maximized"), isMaximized());
    for (const char* name : kStoredMarks)
        s->setValue(QLatin1String(name) + QStringLiteral(".Checked"),
                    action(QLatin1String(name))->isChecked());
    s->setValue(QStringLiteral("ShowPicCheck.Checked"), ShowPicCheck->isChecked());
    const LabelFont& f = labelFont;
    s->setValue(QStringLiteral("Font/Name"), qs(f.face));
    s->setValue(QStringLiteral("Font/Height"), f.height);
    s->setValue(QStringLiteral("Font/Color"), uint(qRgb(f.color.r, f.color.g, f.color.b)));
    s->setValue(QStringLiteral("Font/Style"), (f.bold ? 1 : 0) | (f.italic ? 2 : 0) |
                                                  (f.underline ? 4 : 0) | (f.strikeout ? 8 : 0));
    s->setValue(QStringLiteral("Font/Charset"), f.charset);
    s->setValue(QStringLiteral("Font/Pitch"), f.pitch);
    s->setValue(QStringLiteral("Font/PixelsPerInch"), f.pixelsPerInch);
    s->endGroup();
    s->setValue(QStringLiteral("PrintForm/BreitEdit"), PrintForm->BreitEdit->value());
    s->setValue(QStringLiteral("PrintForm/HochEdit"), PrintForm->HochEdit->value());
    s->sync();
    if (s->status() != QSettings::NoError)
        messages_->show(u"Die Einstellungen konnten nicht gespeichert werden.", u"",
                        MsgIcon::Warning);
}

} // namespace pm
