#include "app/printform.h"

#include "app/widgets.h"
#include "drawing/dibdraw.h"
#include "drawing/qtcanvas.h"

#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace pm {

TPrintForm::TPrintForm(QPrinter& printer, int screenBits, QWidget* parent)
    : QDialog(parent), printer_(printer), screenBits_(screenBits) {
    setObjectName(QStringLiteral("PrintForm"));
    setWindowTitle(QStringLiteral("Bild drucken..."));
    setModal(true);
    auto* row = new QHBoxLayout(this);

    auto* left = new QVBoxLayout;
    RxLabel1 = new QLabel(QStringLiteral("Vorschau:"), this);
    RxLabel1->setObjectName(QStringLiteral("RxLabel1"));
    auto* panel = new QFrame(this);
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Sunken);
    auto* panelBox = new QVBoxLayout(panel);
    panelBox->setContentsMargins(2, 2, 2, 2);
    PrintPaintBox = new PaintBox(panel);
    PrintPaintBox->setObjectName(QStringLiteral("PrintPaintBox"));
    PrintPaintBox->setFixedSize(190, 190);
    PrintPaintBox->onPaint = [this](QPainter& p) { PrintPaintBoxPaint(p); };
    panelBox->addWidget(PrintPaintBox);
    left->addWidget(RxLabel1);
    left->addWidget(panel);
    left->addStretch(1);
    row->addLayout(left);

    auto* right = new QVBoxLayout;
    GroupBox1 = new QGroupBox(QStringLiteral("Druckgröße"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    auto* g1 = new QGridLayout(GroupBox1);
    UseFullCheck = new QRadioButton(QStringLiteral("Seite voll nutzen"), GroupBox1);
    UseFullCheck->setObjectName(QStringLiteral("UseFullCheck"));
    UseFullCheck->setChecked(true);
    UserdefCheck = new QRadioButton(QStringLiteral("Benutzerdefiniert"), GroupBox1);
    UserdefCheck->setObjectName(QStringLiteral("UserdefCheck"));
    auto* l2 = new QLabel(QStringLiteral("Breite in %:"), GroupBox1);
    l2->setObjectName(QStringLiteral("RxLabel2"));
    auto* l3 = new QLabel(QStringLiteral("Höhe in %:"), GroupBox1);
    l3->setObjectName(QStringLiteral("RxLabel3"));
    BreitEdit = new QSpinBox(GroupBox1);
    BreitEdit->setObjectName(QStringLiteral("BreitEdit"));
    HochEdit = new QSpinBox(GroupBox1);
    HochEdit->setObjectName(QStringLiteral("HochEdit"));
    for (QSpinBox* s : {BreitEdit, HochEdit}) {
        s->setRange(1, 100);
        s->setValue(50);
    }
    g1->addWidget(UseFullCheck, 0, 0, 1, 2);
    g1->addWidget(UserdefCheck, 1, 0, 1, 2);
    g1->addWidget(l2, 2, 0);
    g1->addWidget(BreitEdit, 2, 1);
    g1->addWidget(l3, 3, 0);
    g1->addWidget(HochEdit, 3, 1);
    GroupBox2 = new QGroupBox(QStringLiteral("Druckoptionen"), this);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    auto* g2 = new QVBoxLayout(GroupBox2);
    SverhCheck = new QCheckBox(QStringLiteral("Seitenverhältnis beibehalten"), GroupBox2);
    SverhCheck->setObjectName(QStringLiteral("SverhCheck"));
    ZentrCheck = new QCheckBox(QStringLiteral("Zentrierte Ausgabe"), GroupBox2);
    ZentrCheck->setObjectName(QStringLiteral("ZentrCheck"));
    for (QCheckBox* c : {SverhCheck, ZentrCheck}) {
        c->setChecked(true);
        g2->addWidget(c);
    }
    OkBitBtn1 = new QPushButton(QStringLiteral("&OK"), this);
    OkBitBtn1->setObjectName(QStringLiteral("OkBitBtn1"));
    OkBitBtn1->setDefault(true);
    CancelBitBtn2 = new QPushButton(QStringLiteral("A&bbrechen"), this);
    CancelBitBtn2->setObjectName(QStringLiteral("CancelBitBtn2"));
    PrintSetupBtn = new QPushButton(QStringLiteral("Drucker &einrichten..."), this);
    PrintSetupBtn->setObjectName(QStringLiteral("PrintSetupBtn"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(PrintSetupBtn);
    buttons->addStretch(1);
    buttons->addWidget(OkBitBtn1);
    buttons->addWidget(CancelBitBtn2);
    right->addWidget(GroupBox1);
    right->addWidget(GroupBox2);
    right->addStretch(1);
    right->addLayout(buttons);
    row->addLayout(right);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    connect(OkBitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelBitBtn2, &QPushButton::clicked, this, &QDialog::reject);
    connect(PrintSetupBtn, &QPushButton::clicked, this, &TPrintForm::PrintSetupBtnClick);
    connect(UserdefCheck, &QRadioButton::clicked, this, &TPrintForm::UserdefCheckClick);
    for (QAbstractButton* b :
         {static_cast<QAbstractButton*>(UseFullCheck), static_cast<QAbstractButton*>(SverhCheck),
          static_cast<QAbstractButton*>(ZentrCheck)})
        connect(b, &QAbstractButton::clicked, PrintPaintBox, qOverload<>(&QWidget::update));
    connect(BreitEdit, &QSpinBox::valueChanged, this, &TPrintForm::BreitEditChange);
    connect(HochEdit, &QSpinBox::valueChanged, this, &TPrintForm::HochEditChange);
}

TPrintForm::~TPrintForm() {
    freedib(di);
}

void TPrintForm::setPicture(dib& picture) {
    freedib(di);
    di = picture;
    picture = dib{};
}

PrintChoice TPrintForm::choice() const {
    PrintChoice c;
    c.fullPage = UseFullCheck->isChecked();
    c.keepRatio = SverhCheck->isChecked();
    c.centred = ZentrCheck->isChecked();
    c.breit = BreitEdit->value();
    c.hoch = HochEdit->value();
    return c;
}

QSize TPrintForm::pageSize() const {
    return printer_.pageLayout().paintRectPixels(printer_.resolution()).size();
}

void TPrintForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormShow();
}

void TPrintForm::FormShow() {
    // Each run starts with the defaults; the percentages are kept.
    UseFullCheck->setChecked(true);
    SverhCheck->setChecked(true);
    ZentrCheck->setChecked(true);
    rule(true, true);
}

void TPrintForm::PrintPaintBoxPaint(QPainter& painter) {
    const QSize page = pageSize();
    const int BW = PrintPaintBox->width(), BH = PrintPaintBox->height();
    QImage box(BW, BH, QImage::Format_RGB32);
    box.fill(palette().color(QPalette::Window));
    const Rect sheet = previewSheet(page.width(), page.height(), BW, BH);
    {
        QPainter p(&box);
        p.fillRect(sheet.x, sheet.y, sheet.w, sheet.h, Qt::white);
    }
    if (di.poi) {
        const Rect r = printRect(sheet, dibwidth(di), dibheight(di), choice());
        SurfaceDevice device(surfaceOf(box), screenBits_);
        drawdib(device, r.x, r.y, r.w, r.h, di, 0, 0, dibwidth(di), dibheight(di), true,
                RasterOp::Copy, nullptr);
    }
    painter.drawImage(0, 0, box);
    rule(true, false); // the height follows the width after every preview
}

void TPrintForm::rule(bool width, bool repaint) {
    if (inedit)
        return;
    inedit = true;
    PrintChoice c = choice();
    const QSize page = pageSize();
    if (width)
        widthRule(c, dibwidth(di), dibheight(di), page.width(), page.height());
    else
        heightRule(c, dibwidth(di), dibheight(di), page.width(), page.height());
    BreitEdit->setValue(c.breit);
    HochEdit->setValue(c.hoch);
    if (repaint)
        PrintPaintBox->update();
    inedit = false;
}

void TPrintForm::UserdefCheckClick() {
    if (UserdefCheck->isChecked())
        rule(true, true);
}

void TPrintForm::BreitEditChange() {
    rule(true, true);
}

void TPrintForm::HochEditChange() {
    rule(false, true);
}

void TPrintForm::PrintSetupBtnClick() {
    QPrintDialog dialog(&printer_, this);
    dialog.exec();
    PrintPaintBox->update(); // the page's proportion may have changed
}

} // namespace pm
