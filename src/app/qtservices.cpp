#include "app/qtservices.h"

#include "app/dialogs.h"
#include "app/qtext.h"

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFontDialog>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace pm {

namespace {
QMessageBox::Icon qtIcon(MsgIcon icon) {
    switch (icon) {
    case MsgIcon::Information:
        return QMessageBox::Information;
    case MsgIcon::Warning:
        return QMessageBox::Warning;
    case MsgIcon::Error:
        return QMessageBox::Critical;
    case MsgIcon::Question:
        return QMessageBox::Question;
    case MsgIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

// A box without a caption of its own carries the program's name, as a desktop expects.
QString captionOr(std::u16string_view caption) {
    return caption.empty() ? QApplication::applicationName() : qs(caption);
}

// X11 key symbol of the right CTRL key (the left one is 0xffe3).
constexpr quint32 kControlR = 0xffe4;
} // namespace

void QtMessageService::show(std::u16string_view text, std::u16string_view caption, MsgIcon icon) {
    QMessageBox box(qtIcon(icon), captionOr(caption), qs(text), QMessageBox::Ok, parent_);
    box.exec();
}

bool QtMessageService::askYesNo(std::u16string_view text, std::u16string_view caption) {
    QMessageBox box(QMessageBox::Question, captionOr(caption), qs(text),
                    QMessageBox::Yes | QMessageBox::No, parent_);
    return box.exec() == QMessageBox::Yes;
}

void QtDialogService::showScaleDialog(ScaleDialogValues& values) {
    scale_->PixelEd->setValue(values.pixel);
    scale_->entsprichted->setValue(values.entspricht);
    scale_->EinheitEd->setEditText(qs(values.einheit));
    scale_->CheckBox1->setChecked(values.anzeigen);
    scale_->exec(); // OK and the close box alike: the values are taken
    values.pixel = scale_->PixelEd->value();
    values.entspricht = scale_->entsprichted->value();
    values.einheit = us(scale_->EinheitEd->currentText());
    values.anzeigen = scale_->CheckBox1->isChecked();
}

bool QtDialogService::askSlope(double& angle) {
    slope_->neiged->setValue(angle);
    if (slope_->exec() != QDialog::Accepted)
        return false;
    angle = slope_->neiged->value();
    return true;
}

bool QtDialogService::askLabel(std::u16string& text) {
    label_->Edit1->setText(qs(text));
    if (label_->exec() != QDialog::Accepted)
        return false;
    text = us(label_->Edit1->text());
    return true;
}

int QtDialogService::askDxfPieces(int pieces) {
    if (!dxf_)
        return pieces;
    dxf_->DivideEd->setValue(pieces);
    dxf_->exec(); // however it is closed, its value counts
    return dxf_->DivideEd->value();
}

int QtDialogService::chooseScanner(const std::vector<std::string>& choices, int current) {
    QStringList items;
    for (const std::string& c : choices)
        items << QString::fromStdString(c);
    bool ok = false;
    const QString picked = QInputDialog::getItem(
        label_ ? label_->parentWidget() : nullptr, QApplication::applicationName(),
        QStringLiteral("Scanner:"), items, std::max(0, current), false, &ok);
    return ok ? int(items.indexOf(picked)) : -1;
}

bool QtDialogService::chooseColor(std::uint32_t& color) {
    const QColor picked =
        QColorDialog::getColor(QColor::fromRgb(color), label_ ? label_->parentWidget() : nullptr);
    if (!picked.isValid())
        return false;
    color = picked.rgb() & 0xFFFFFF;
    return true;
}

bool QtDialogService::chooseFont(std::u16string& face, int& height, int& style,
                                 std::uint32_t& color) {
    QFont start(qs(face));
    start.setPixelSize(std::max(1, std::abs(height)));
    start.setBold(style & 1);
    start.setItalic(style & 2);
    start.setUnderline(style & 4);
    start.setStrikeOut(style & 8);
    // The font dialog with a colour of its own, as the label font has one.
    QDialog dialog(label_ ? label_->parentWidget() : nullptr);
    dialog.setWindowTitle(QStringLiteral("Schriftart"));
    auto* box = new QVBoxLayout(&dialog);
    auto* fonts = new QFontDialog(start, &dialog);
    fonts->setWindowFlags(Qt::Widget);
    fonts->setOptions(QFontDialog::NoButtons);
    box->addWidget(fonts);
    QColor chosen = QColor::fromRgb(color);
    auto* colorBtn = new QPushButton(QStringLiteral("Farbe..."), &dialog);
    colorBtn->setObjectName(QStringLiteral("FontColorBtn"));
    auto paintSwatch = [colorBtn, &chosen] {
        QPixmap swatch(24, 14);
        swatch.fill(chosen);
        colorBtn->setIcon(QIcon(swatch));
    };
    paintSwatch();
    QObject::connect(colorBtn, &QPushButton::clicked, &dialog, [&] {
        const QColor c = QColorDialog::getColor(chosen, &dialog);
        if (c.isValid()) {
            chosen = c;
            paintSwatch();
        }
    });
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* row = new QHBoxLayout;
    row->addWidget(colorBtn);
    row->addStretch(1);
    row->addWidget(buttons);
    box->addLayout(row);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    const QFont f = fonts->currentFont();
    color = chosen.rgb() & 0xFFFFFF;
    face = us(f.family());
    // The dialog speaks points; the label font is a character height in pixels.
    const int px = f.pixelSize() > 0 ? f.pixelSize() : int(std::lround(f.pointSizeF() * 96 / 72));
    height = -std::max(1, px);
    style = (f.bold() ? 1 : 0) | (f.italic() ? 2 : 0) | (f.underline() ? 4 : 0) |
            (f.strikeOut() ? 8 : 0);
    return true;
}

std::string QtFileDialogService::openFileName(std::u16string_view caption,
                                              const std::string& filter) {
    return QFileDialog::getOpenFileName(parent_, qs(caption), QString(), qtFileFilter(filter))
        .toStdString();
}

std::string QtFileDialogService::saveFileName(std::u16string_view caption,
                                              const std::string& filter,
                                              const std::string& defaultSuffix) {
    QFileDialog dialog(parent_, qs(caption), QString(), qtFileFilter(filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QString::fromStdString(defaultSuffix));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first().toStdString();
}

KeyboardTracker::KeyboardTracker(QObject* parent) : QObject(parent) {}

bool KeyboardTracker::eventFilter(QObject* watched, QEvent* event) {
    const auto type = event->type();
    if (type == QEvent::KeyPress || type == QEvent::KeyRelease) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool down = type == QEvent::KeyPress;
        if (key->key() == Qt::Key_Control) {
            if (key->nativeVirtualKey() == kControlR)
                rightCtrl_ = down;
            else
                leftCtrl_ = down;
        } else if (key->key() == Qt::Key_Alt) {
            alt_ = down;
        }
    } else if (type == QEvent::ApplicationDeactivate) {
        // Keys released while another window had the focus are never reported to us.
        leftCtrl_ = rightCtrl_ = alt_ = false;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace pm
