#include "app/dialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QDesktopServices>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QUrl>
#include <QVBoxLayout>

#include <limits>

namespace pm {

QDoubleSpinBox* makeDecimalField(QWidget* parent, const char* name, int decimals) {
    auto* ed = new QDoubleSpinBox(parent);
    ed->setObjectName(QLatin1String(name));
    ed->setDecimals(decimals);
    const double big = std::numeric_limits<double>::max();
    ed->setRange(-big, big);
    ed->setAlignment(Qt::AlignRight);
    ed->setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    return ed;
}

TmassstabForm::TmassstabForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("massstabForm"));
    setWindowTitle(QStringLiteral("Maßstab"));
    setModal(true);
    setFixedSize(418, 180);

    auto* grid = new QGridLayout(this);
    PixelEd = makeDecimalField(this, "PixelEd", 4);
    auto* pixelLabel = new QLabel(QStringLiteral("Pixel"), this);
    pixelLabel->setObjectName(QStringLiteral("Label1"));
    auto* entsprLabel = new QLabel(QStringLiteral("Entsprechen:"), this);
    entsprLabel->setObjectName(QStringLiteral("Label2"));
    entsprichted = makeDecimalField(this, "entsprichted", 4);
    EinheitEd = new QComboBox(this);
    EinheitEd->setObjectName(QStringLiteral("EinheitEd"));
    EinheitEd->setEditable(true);
    EinheitEd->setInsertPolicy(QComboBox::NoInsert);
    // The unit is free text: completing a typed "m" to "mm" would change what the user meant.
    EinheitEd->setCompleter(nullptr);
    EinheitEd->addItems({QStringLiteral("mm"), QStringLiteral("cm"), QStringLiteral("dm"),
                         QStringLiteral("m"), QStringLiteral("km"), QStringLiteral("Fuß"),
                         QStringLiteral("Yard"), QStringLiteral("Inch"), QStringLiteral("Meilen"),
                         QStringLiteral("Seemeilen")});
    CheckBox1 = new QCheckBox(QStringLiteral("Maßstab anzeigen"), this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    BitBtn1 = new QPushButton(QStringLiteral("OK"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);

    grid->addWidget(PixelEd, 0, 0);
    grid->addWidget(pixelLabel, 0, 1);
    grid->addWidget(entsprLabel, 1, 0);
    grid->addWidget(entsprichted, 2, 0);
    grid->addWidget(EinheitEd, 2, 1);
    grid->addWidget(CheckBox1, 3, 0);
    grid->addWidget(BitBtn1, 3, 1, Qt::AlignRight);
    grid->setColumnStretch(0, 3);
    grid->setColumnStretch(1, 2);
}

TNeigungForm::TNeigungForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("NeigungForm"));
    setWindowTitle(QStringLiteral("Neigungswinkel eingeben"));
    setModal(true);
    // A fixed dialog border: no resizing, no minimise or maximise.
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    auto* box = new QVBoxLayout(this);
    auto* label = new QLabel(QStringLiteral("Neigungswinkel eingeben:"), this);
    label->setObjectName(QStringLiteral("Label1"));
    neiged = makeDecimalField(this, "neiged", 2);
    OKBtn = new QPushButton(QStringLiteral("OK"), this);
    OKBtn->setObjectName(QStringLiteral("BitBtn1"));
    OKBtn->setDefault(true);
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    box->addWidget(label);
    box->addWidget(neiged);
    box->addWidget(OKBtn, 0, Qt::AlignRight);
    box->setSizeConstraint(QLayout::SetFixedSize);
}

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("Info"));
    setModal(true);
    auto* box = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("ProgramIcon"));
    picture->setPixmap(QIcon::fromTheme(QStringLiteral("applications-graphics")).pixmap(48, 48));
    row->addWidget(picture, 0, Qt::AlignTop);
    auto* texts = new QVBoxLayout;
    ProductName = new QLabel(QStringLiteral("Tervalo Picmetra 1.0"), this);
    ProductName->setObjectName(QStringLiteral("ProductName"));
    QFont big = ProductName->font();
    big.setPointSizeF(big.pointSizeF() * 1.4);
    big.setBold(true);
    ProductName->setFont(big);
    Copyright = new QLabel(QStringLiteral("Copyright © XXXX Tervalo"), this);
    Copyright->setObjectName(QStringLiteral("Copyright"));
    // The year the box is made in, in place of the first "XXXX".
    Copyright->setText(Copyright->text().replace(Copyright->text().indexOf(QStringLiteral("XXXX")),
                                                 4, QString::number(QDate::currentDate().year())));
    ProductName->setProperty("untranslated", true);
    Copyright->setProperty("untranslated", true);
    Comments =
        new QLabel(QStringLiteral("Messen auf Bildern: Fotos, Scans und Baupläne kalibrieren, "
                                  "Strecken, Flächen und Winkel messen, als Projekt "
                                  "speichern und für CAD, CNC und Druck ausgeben."),
                   this);
    Comments->setObjectName(QStringLiteral("Comments"));
    Comments->setWordWrap(true);
    texts->addWidget(ProductName);
    texts->addWidget(Copyright);
    texts->addWidget(Comments);
    row->addLayout(texts, 1);
    box->addLayout(row);
    auto* buttons = new QHBoxLayout;
    WebBtn = new QPushButton(QStringLiteral("www.tervalo.de"), this);
    WebBtn->setObjectName(QStringLiteral("WebBtn"));
    WebBtn->setProperty("untranslated", true);
    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setDefault(true);
    buttons->addWidget(WebBtn);
    buttons->addStretch(1);
    buttons->addWidget(OKButton);
    box->addLayout(buttons);
    setFixedWidth(420);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(WebBtn, &QPushButton::clicked, this,
            [] { QDesktopServices::openUrl(QUrl(QStringLiteral("https://www.tervalo.de"))); });
}

TDXFExportForm::TDXFExportForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("DXFExportForm"));
    setWindowTitle(QStringLiteral("DXF Export"));
    setModal(true);
    auto* row = new QHBoxLayout(this);
    auto* label1 = new QLabel(QStringLiteral("Splines teilen in:"), this);
    label1->setObjectName(QStringLiteral("Label1"));
    DivideEd = new QSpinBox(this);
    DivideEd->setObjectName(QStringLiteral("DivideEd"));
    DivideEd->setRange(1, 20);
    DivideEd->setValue(4);
    DivideEd->setAlignment(Qt::AlignRight);
    auto* label2 = new QLabel(QStringLiteral("Kreisbögen/Linien"), this);
    label2->setObjectName(QStringLiteral("Label2"));
    BitBtnXP1 = new QPushButton(QStringLiteral("OK"), this);
    BitBtnXP1->setObjectName(QStringLiteral("BitBtnXP1"));
    BitBtnXP1->setDefault(true);
    connect(BitBtnXP1, &QPushButton::clicked, this, &QDialog::accept);
    row->addWidget(label1);
    row->addWidget(DivideEd);
    row->addWidget(label2);
    row->addWidget(BitBtnXP1);
    row->setSizeConstraint(QLayout::SetFixedSize);
}

TBezeichnungForm::TBezeichnungForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("BezeichnungForm"));
    setWindowTitle(QStringLiteral("Bezeichnung eingeben"));
    setModal(true);
    auto* box = new QVBoxLayout(this);
    auto* label = new QLabel(QStringLiteral("Bezeichnung eingeben:"), this);
    label->setObjectName(QStringLiteral("Label1"));
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setMinimumWidth(260);
    OKBtn = new QPushButton(QStringLiteral("OK"), this);
    OKBtn->setObjectName(QStringLiteral("BitBtn1"));
    OKBtn->setDefault(true);
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    box->addWidget(label);
    box->addWidget(Edit1);
    box->addWidget(OKBtn, 0, Qt::AlignRight);
}

void TBezeichnungForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    Edit1->setFocus();
    Edit1->selectAll();
}

} // namespace pm
