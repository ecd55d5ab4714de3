#pragma once
// The print layout dialog: a preview of the page, the print's size and placement.

#include "drawing/dib.h"
#include "print/printlayout.h"

#include <QDialog>

class QCheckBox;
class QGroupBox;
class QLabel;
class QPrinter;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace pm {

class PaintBox;

class TPrintForm : public QDialog {
    Q_OBJECT
public:
    TPrintForm(QPrinter& printer, int screenBits, QWidget* parent = nullptr);
    ~TPrintForm() override;

    // Takes the picture to print (the blocks become the dialog's).
    void setPicture(dib& picture);
    const dib& picture() const { return di; }
    PrintChoice choice() const;
    // The printer's printable area in device pixels.
    QSize pageSize() const;

    void FormShow();
    void PrintPaintBoxPaint(QPainter& painter);
    void UserdefCheckClick();
    void BreitEditChange();
    void HochEditChange();
    void PrintSetupBtnClick();

    QLabel* RxLabel1;
    PaintBox* PrintPaintBox;
    QGroupBox* GroupBox1;
    QRadioButton* UseFullCheck;
    QRadioButton* UserdefCheck;
    QSpinBox* BreitEdit;
    QSpinBox* HochEdit;
    QGroupBox* GroupBox2;
    QCheckBox* SverhCheck;
    QCheckBox* ZentrCheck;
    QPushButton* OkBitBtn1;
    QPushButton* CancelBitBtn2;
    QPushButton* PrintSetupBtn;
    bool inedit = false;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void rule(bool width, bool repaint);

    QPrinter& printer_;
    int screenBits_;
    dib di;
};

} // namespace pm
