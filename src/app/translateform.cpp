#include "app/translateform.h"

#include "app/qtext.h"
#include "model/services.h"
#include "translate/translations.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace pm {

namespace {
// Letters a to z compare without case; everything else as it is.
QString upperAscii(QString s) {
    for (QChar& c : s)
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            c = QChar(c.unicode() - 32);
    return s;
}
} // namespace

TTranslateForm::TTranslateForm(Translator& tr, MessageService& messages, QWidget* parent)
    : QDialog(parent), tr_(tr), messages_(messages) {
    setObjectName(QStringLiteral("TranslateForm"));
    setWindowTitle(QStringLiteral("Übersetzen"));
    setModal(true);
    resize(900, 600);
    auto* column = new QVBoxLayout(this);
    auto* bar = new QHBoxLayout;
    BackBtn = new QPushButton(QStringLiteral("Zurück..."), this);
    BackBtn->setObjectName(QStringLiteral("BackBtn"));
    FilterEdit = new QLineEdit(this);
    FilterEdit->setObjectName(QStringLiteral("FilterEdit"));
    FilterBtn = new QPushButton(QStringLiteral("Suchen"), this);
    FilterBtn->setObjectName(QStringLiteral("FilterBtn"));
    DeleteRowBtn = new QPushButton(QStringLiteral("Zeile löschen"), this);
    DeleteRowBtn->setObjectName(QStringLiteral("DeleteRowBtn"));
    FixedColCheck = new QCheckBox(QStringLiteral("Erste Spalte fixieren"), this);
    FixedColCheck->setObjectName(QStringLiteral("FixedColCheck"));
    for (QPushButton* b : {BackBtn, FilterBtn, DeleteRowBtn})
        b->setAutoDefault(false);
    bar->addWidget(BackBtn);
    bar->addWidget(FilterEdit, 1);
    bar->addWidget(FilterBtn);
    bar->addWidget(DeleteRowBtn);
    bar->addWidget(FixedColCheck);
    column->addLayout(bar);

    StringGrid1 = new QTableWidget(0, Translator::kColumns, this);
    StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
    StringGrid1->horizontalHeader()->setDefaultSectionSize(250);
    StringGrid1->setSelectionMode(QAbstractItemView::ContiguousSelection);
    StringGrid1->installEventFilter(this);
    column->addWidget(StringGrid1, 1);
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    column->addWidget(StatusBar1);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);
    Timer1->setSingleShot(true);

    connect(BackBtn, &QPushButton::clicked, this, &TTranslateForm::BackBtnClick);
    connect(FilterBtn, &QPushButton::clicked, this, &TTranslateForm::FilterBtnClick);
    connect(DeleteRowBtn, &QPushButton::clicked, this, &TTranslateForm::DeleteRowBtnClick);
    connect(FixedColCheck, &QCheckBox::clicked, this, &TTranslateForm::FixedColCheckClick);
    connect(Timer1, &QTimer::timeout, this, &TTranslateForm::Timer1Timer);
    connect(StringGrid1, &QTableWidget::cellChanged, this, &TTranslateForm::StringGrid1SetEditText);
}

void TTranslateForm::FillStringGrid() {
    filling_ = true;
    QStringList headers{QStringLiteral("German"), QStringLiteral("English")};
    for (int c = 2; c < Translator::kColumns; ++c)
        headers << QStringLiteral("language%1").arg(c);
    StringGrid1->setHorizontalHeaderLabels(headers);
    StringGrid1->setRowCount(tr_.rowCount());
    for (int r = 0; r < tr_.rowCount(); ++r)
        for (int c = 0; c < Translator::kColumns; ++c)
            StringGrid1->setItem(r, c, new QTableWidgetItem(qs(tr_.cell(r, c))));
    FixedColCheckClick();
    filling_ = false;
}

void TTranslateForm::StringGrid1SetEditText(int row, int column) {
    if (filling_)
        return;
    const QTableWidgetItem* item = StringGrid1->item(row, column);
    tr_.setCell(row, column, us(item ? item->text() : QString()));
    Timer1->start(); // restarts a running timer: saved one second after the last keystroke
}

void TTranslateForm::Timer1Timer() {
    Timer1->stop();
    tr_.SaveTranslations();
}

void TTranslateForm::FilterBtnClick() {
    const QString wanted = upperAscii(FilterEdit->text());
    if (wanted.isEmpty())
        return;
    // The header row first, then every row, each from the first column to the last.
    for (int r = -1; r < StringGrid1->rowCount(); ++r) {
        for (int c = 0; c < Translator::kColumns; ++c) {
            const QTableWidgetItem* item =
                r < 0 ? StringGrid1->horizontalHeaderItem(c) : StringGrid1->item(r, c);
            if (!item || !upperAscii(item->text()).contains(wanted))
                continue;
            if (r >= 0) {
                StringGrid1->setCurrentCell(r, c);
                StringGrid1->scrollTo(StringGrid1->model()->index(r, c),
                                      QAbstractItemView::PositionAtTop);
                StringGrid1->horizontalScrollBar()->setValue(
                    StringGrid1->horizontalHeader()->sectionPosition(c));
            }
            if (!messages_.askYesNo(tr_.GetMessageText(26), tr_.GetMessageText(27)))
                return;
        }
    }
}

void TTranslateForm::DeleteRowBtnClick() {
    const int r = StringGrid1->currentRow();
    if (r >= 0 && r < tr_.rowCount()) {
        if (messages_.askYesNo(tr_.cell(r, 0), tr_.GetMessageText(25)))
            tr_.deleteRow(r);
    }
    tr_.SaveTranslations();
    FillStringGrid();
    if (r >= 0 && r < StringGrid1->rowCount())
        StringGrid1->setCurrentCell(r, std::max(0, StringGrid1->currentColumn()));
}

void TTranslateForm::FixedColCheckClick() {
    // A fixed first column cannot be edited.
    const bool fixed = FixedColCheck->isChecked();
    const bool was = filling_;
    filling_ = true;
    for (int r = 0; r < StringGrid1->rowCount(); ++r)
        if (QTableWidgetItem* item = StringGrid1->item(r, 0))
            item->setFlags(fixed ? item->flags() & ~Qt::ItemIsEditable
                                 : item->flags() | Qt::ItemIsEditable);
    filling_ = was;
}

void TTranslateForm::closeEvent(QCloseEvent* event) {
    if (Timer1->isActive())
        Timer1Timer();
    QDialog::closeEvent(event);
}

void TTranslateForm::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) { // Escape presses "Zeile löschen", as it always has
        DeleteRowBtn->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool TTranslateForm::eventFilter(QObject* watched, QEvent* event) {
    // While a cell is being edited its editor gets the keys, not the grid.
    if (watched == StringGrid1 && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        DeleteRowBtnClick();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace pm
