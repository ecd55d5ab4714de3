#pragma once
// The main window. It owns the document and the dialogs; its handlers keep the names of the
// controls and events and hand the work to the subsystem that owns it.

#include "app/dialogs.h"
#include "app/qtservices.h"
#include "drawing/render.h"
#include "model/document.h"
#include "translate/translations.h"

#include <QImage>
#include <QMainWindow>
#include <QMap>
#include <QStringList>

#include <memory>

class QAction;
class QCheckBox;
class QDoubleSpinBox;
class QPushButton;
class QScrollBar;
class QSpinBox;
class QToolBar;
class QToolButton;
class QTreeView;
class QButtonGroup;

namespace pm {

class ColorSwatch;
class PaintBox;
class ResultsModel;

struct AppConfig {
    QString progpath;                   // empty: the folder of the program file
    QStringList arguments;              // the command line after the program name
    MessageService* messages = nullptr; // null: real message boxes
    DialogService* dialogs = nullptr;   // null: the real dialogs
    FileDialogService* files = nullptr; // null: the real file dialogs
    int screenBits = 0;                 // 0: the screen's own depth
    KeyboardState* keyboard = nullptr;  // null: tracked from the key events
};

class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    explicit TMainForm(const AppConfig& config = {});
    ~TMainForm() override;

    Document& document() { return *doc_; }
    Translator& translator() { return translator_; }
    const QString& progpath() const { return progpath_; }
    QAction* action(const QString& name) const { return actions_.value(name); }
    MessageService& messages() { return *messages_; }
    FileDialogService& files() { return *files_; }
    const KeyboardState& keyboard() const { return *keyboard_; }

    // Controls, named as designed.
    QWidget* Panel1;
    QToolBar* ToolBar1;
    QToolButton* OpenBtn;
    QWidget* Panel2;
    QSpinBox* zoomed;
    ColorSwatch* Shape1;
    QPushButton* ChooseColorBtn;
    QPushButton* FontBtn;
    QDoubleSpinBox* WidthEd;
    QDoubleSpinBox* PfeillangEd;
    QCheckBox* ShowPicCheck;
    QToolBar* ToolBar2;
    QButtonGroup* tools;
    QWidget* ScrollBox1;
    PaintBox* PaintBox1;
    QScrollBar* ScrollBar1;
    QScrollBar* ScrollBar2;
    QTreeView* ListView1;
    TmassstabForm* massstabForm;
    TNeigungForm* NeigungForm;
    ResultsModel* results;

    // Pass flags.
    bool paintforexport = false;
    bool noendpunkte = false;
    bool donotpaintnow = false;
    bool donotreallypaint = false;

    // Handlers.
    void FormShow();
    void Beenen1Click();
    void Numerisch1Click();
    void Anzeigen1Click();
    void Ergebnisslisteanzeigen1Click();
    void MessergebnissealsCSVDateiexportieren1Click();
    void zoomedChange();
    void ScrollBar1Change();
    void ScrollBar2Change();
    void FormMouseWheelDown();
    void FormMouseWheelUp();
    // The full repaint: renders into `bit`, presents it unless `donotreallypaint`, refills the
    // results list.
    void PaintBox1Paint();
    void ListObjekte();
    // Shows what `bit` holds now (previews draw on it first).
    void present();

    View currentView() const;
    RenderContext renderContext() const;
    const QImage& bit() const { return bit_; }
    LabelFont labelFont;

protected:
    void showEvent(QShowEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void renderPass();
    void paintBoxPaintEvent(QPainter& painter);
    void FormCreate();
    void buildMenu();
    void buildTopBar();
    void buildToolBar();
    void buildCentre();
    bool checked(const QString& actionName) const;

    QString progpath_;
    QStringList arguments_;
    bool openfirst_ = false;
    std::unique_ptr<QtMessageService> qtMessages_;
    std::unique_ptr<QtDialogService> qtDialogs_;
    QtFileDialogService qtFiles_;
    KeyboardTracker* keyTracker_;
    MessageService* messages_;
    DialogService* dialogs_;
    FileDialogService* files_;
    KeyboardState* keyboard_;
    Translator translator_;
    std::unique_ptr<Document> doc_;
    QMap<QString, QAction*> actions_;
    QImage bit_;
    bool frameFresh_ = false;
    int screenBits_;
};

} // namespace pm
