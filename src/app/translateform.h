#pragma once
// The translation editor: the whole table in a grid, search, row deletion, delayed saving.

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QStatusBar;
class QTableWidget;
class QTimer;

namespace pm {

class MessageService;
class Translator;

class TTranslateForm : public QDialog {
    Q_OBJECT
public:
    TTranslateForm(Translator& tr, MessageService& messages, QWidget* parent = nullptr);

    void FillStringGrid();
    void FilterBtnClick();
    void DeleteRowBtnClick();
    void StringGrid1SetEditText(int row, int column);
    void Timer1Timer();
    void FixedColCheckClick();
    void BackBtnClick() { close(); }

    QPushButton* BackBtn;
    QLineEdit* FilterEdit;
    QPushButton* FilterBtn;
    QPushButton* DeleteRowBtn;
    QCheckBox* FixedColCheck;
    QTableWidget* StringGrid1;
    QTimer* Timer1;
    QStatusBar* StatusBar1;

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Translator& tr_;
    MessageService& messages_;
    bool filling_ = false;
};

} // namespace pm
