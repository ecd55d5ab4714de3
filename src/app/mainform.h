#pragma once
// The main window. It owns the document and the dialogs; its handlers keep the names of the
// controls and events and hand the work to the subsystem that owns it.

#include "acquire/sanescan.h"
#include "app/dialogs.h"
#include "app/qtservices.h"
#include "drawing/qtcanvas.h"
#include "drawing/render.h"
#include "interaction/interaction.h"
#include "model/document.h"
#include "translate/translations.h"

#include <QEvent>
#include <QImage>
#include <QMainWindow>
#include <QMap>
#include <QStringList>

#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

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
class QSettings;
class QPrinter;
class QProgressDialog;

namespace pm {

class ColorSwatch;
class PaintBox;
class ResultsModel;
class TTranslateForm;
class TPrintForm;

// "A scan is ready": the token tells GetScanedDib which picture.
struct ScanReadyEvent : QEvent {
    static constexpr QEvent::Type kType = QEvent::Type(QEvent::User + 1);
    explicit ScanReadyEvent(int t) : QEvent(kType), token(t) {}
    int token;
};

struct AppConfig {
    QString progpath;                   // empty: the folder of the program file
    QStringList arguments;              // the command line after the program name
    MessageService* messages = nullptr; // null: real message boxes
    DialogService* dialogs = nullptr;   // null: the real dialogs
    FileDialogService* files = nullptr; // null: the real file dialogs
    int screenBits = 0;                 // 0: the screen's own depth
    QString dataHome;                   // empty: the XDG data home (options.dat below it)
    QString settingsFile;               // empty: the user's Tervalo/Picmetra settings
    KeyboardState* keyboard = nullptr;  // null: tracked from the key events
};

class TMainForm : public QMainWindow, private InteractionHost {
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
    TBezeichnungForm* BezeichnungForm;
    TTranslateForm* TranslateForm;
    TDXFExportForm* DXFExportForm;
    TPrintForm* PrintForm;
    TAboutBox* AboutBox;
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
    void Neu1Click();
    void ChooseColorBtnClick();
    void Shape1MouseDown() { ChooseColorBtnClick(); }
    void Schriftart1Click();
    void berdasProgramm1Click();
    void Grafisch1Click() { massstabBtnClick(); }
    void Scannerwhlen1Click();
    void Scannen1Click();
    // A scanned picture has arrived (the posted event of type QEvent::User + 1).
    void WMUser2(int token);
    // The picture a scan left under `token`, or none (poi null); it can be taken once.
    dib GetScanedDib(int token);
    bool scanRunning() const { return scanning_; }
    void Druckereinrichten1Click();
    void Drucken1Click() { printCommand(true); }
    void DruckenohneBild1Click() { printCommand(false); }
    QPrinter& printer() { return *printer_; }
    void AlsBildspeichern1Click() { savePictureCommand(true); }
    void AlsBildspeichernnurLinien1Click() { savePictureCommand(false); }
    void LinienalsSVGspeichern1Click();
    void LinienalsDXFexportieren1Click();
    void LinienDXFfrCNCexportierenKreisbgenkeineSplines1Click();
    void saveasemf(const std::string& fileName);
    void savedxfArc(const std::string& fileName);
    void Deutsch1Click();
    void English1Click();
    void bersetzen1Click();
    void LoadOptions();
    void SaveOptions();
    std::string GetProgramDir(bool create) const;
    void Bildffnen1Click();
    void Projektspeichern1Click();
    void Projektffnen1Click();
    bool saveprojekt(const QString& fileName);
    bool openprojekt(const QString& fileName);
    void LadeBild(const QString& fileName);
    void PfeillngeundSchriftgrebeimffneneinesBildesautomatischvoreinstellen1Click();
    void Lschen1Click() { interaction_->Lschen1Click(); }
    void Kopieren1Click() { interaction_->Kopieren1Click(); }
    void Einfgen1Click() { interaction_->Einfgen1Click(); }
    void Beschreibungbearbeiten1Click() { interaction_->Beschreibungbearbeiten1Click(); }
    void PaintBox1MouseDown(MouseButton button, int X, int Y);
    void PaintBox1MouseMove(int X, int Y);
    void PaintBox1MouseUp(MouseButton button, int X, int Y);
    // The ten tool buttons: each puts its button down and repaints.
    void ZeigerBtnClick() { toolBtnClick(Tool::Zeiger); }
    void HandBtnClick() { toolBtnClick(Tool::Hand); }
    void DimensionBtnClick() { toolBtnClick(Tool::Dimension); }
    void StreckeBtnClick() { toolBtnClick(Tool::Strecke); }
    void PolygonBtnClick() { toolBtnClick(Tool::Polygon); }
    void RectBtnClick() { toolBtnClick(Tool::Rect); }
    void CircleBtnClick() { toolBtnClick(Tool::Circle); }
    void SchraegBtnClick() { toolBtnClick(Tool::Schraeg); }
    void massstabBtnClick() { toolBtnClick(Tool::Massstab); }
    void TextBtnClick() { toolBtnClick(Tool::Text); }
    Interaction& interaction() { return *interaction_; }
    Tool tool() const override;
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

    int languagesetto = 0;
    bool dontchlang = false;

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    // What the mouse handling asks of the window.
    View view() const override { return currentView(); }
    void setToolDown(Tool t) override;
    bool askLabelOption() const override;
    bool pointerOption() const override;
    void fullRepaint() override { PaintBox1Paint(); }
    void preview(const std::function<void(Canvas&, const RenderContext&)>& draw) override;
    void setScroll(int h, int v) override;
    TextSize labelExtent(std::u16string_view text) override;
    void numerisch() override { Numerisch1Click(); }
    std::u16string beschriftung() override { return translator_.GetMessageText(7); }
    void toolBtnClick(Tool t);
    void savePictureCommand(bool withBackground);
    void printCommand(bool withPicture);
    SaneSession& sane();
    void finishScan();
    std::unique_ptr<SaneSession> sane_;
    std::string scanner_;
    std::thread scanThread_;
    std::atomic<bool> scanCancel_{false};
    bool scanning_ = false;
    QProgressDialog* scanProgress_ = nullptr;
    struct ScanResult {
        dib picture;
        ScanStatus status;
        std::string error;
    };
    std::mutex scansMutex_;
    std::map<int, ScanResult> scans_;
    int nextToken_ = 1;
    bool printPage();
    std::unique_ptr<QPrinter> printer_;
    void exportTo(const std::string& fileName, bool withBackground);
    int dxfPieces_ = 4;
    // File dialog captions and the descriptions of their filters, in the current language.
    std::u16string trText(std::u16string_view text) { return translator_.TranslateText(text); }
    std::string trFilter(const std::string& filter);
    void setLanguage(int index);
    void restoreStoredProps();
    void saveStoredProps();
    std::unique_ptr<QSettings> storage() const;
    void adaptToZoom();

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
    std::unique_ptr<Interaction> interaction_;
    GlyphCache glyphs_;
    QImage bit_;
    bool frameFresh_ = false;
    bool propsSaved_ = false;
    QString dataHome_;
    QString settingsFile_;
    int screenBits_;
};

} // namespace pm
