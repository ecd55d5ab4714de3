#include "app/qtservices.h"

#include "app/dialogs.h"
#include "app/qtext.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QSpinBox>

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
