#pragma once
// The numeric scale dialog and the slope dialog.

#include <QDialog>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QSpinBox;
class QPushButton;

namespace pm {

class TmassstabForm : public QDialog {
    Q_OBJECT
public:
    explicit TmassstabForm(QWidget* parent = nullptr);

    QDoubleSpinBox* PixelEd;
    QDoubleSpinBox* entsprichted;
    QComboBox* EinheitEd;
    QCheckBox* CheckBox1;
    QPushButton* BitBtn1;
};

class TNeigungForm : public QDialog {
    Q_OBJECT
public:
    explicit TNeigungForm(QWidget* parent = nullptr);

    QDoubleSpinBox* neiged;
    QPushButton* OKBtn;
};

class TBezeichnungForm : public QDialog {
    Q_OBJECT
public:
    explicit TBezeichnungForm(QWidget* parent = nullptr);

    QLineEdit* Edit1;
    QPushButton* OKBtn;

protected:
    void showEvent(QShowEvent* event) override;
};

class TDXFExportForm : public QDialog {
    Q_OBJECT
public:
    explicit TDXFExportForm(QWidget* parent = nullptr);

    QSpinBox* DivideEd;
    QPushButton* BitBtnXP1;
};

class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* parent = nullptr);
    QLabel* ProductName;
    QLabel* Copyright;
    QLabel* Comments;
    QPushButton* WebBtn;
    QPushButton* OKButton;
};

// A decimal spin field without limits, right-aligned, in the program's number format.
QDoubleSpinBox* makeDecimalField(QWidget* parent, const char* name, int decimals);

} // namespace pm
