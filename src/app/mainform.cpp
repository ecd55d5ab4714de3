#include "app/mainform.h"

#include "acquire/rasterio.h"
#include "app/language.h"
#include "app/printform.h"
#include "app/qtext.h"
#include "app/resultsmodel.h"
#include "app/translateform.h"
#include "app/widgets.h"
#include "drawing/dibdraw.h"
#include "drawing/emf.h"
#include "drawing/qtcanvas.h"
#include "drawing/scene.h"
#include "dxf/dxf.h"
#include "model/options.h"
#include "results/projectfile.h"
#include "results/results.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSettings>
#include <QSpinBox>
#include <QStandardPaths>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <clocale>

namespace pm {

namespace {

// The main menu as designed: menu caption, then items (control name, caption, flags).
enum ItemFlag { Plain = 0, Checkable = 1, Checked = 2, Hidden = 4, Radio = 8 };
struct MenuItem {
    const char* name; // null: separator
    const char* caption;
    int flags;
};
struct MenuDef {
    const char* caption;
    std::initializer_list<MenuItem> items;
};

const MenuDef kMenus[] = {
    {"Datei",
     {{"Neu1", "Linien Neu", Plain},
      {nullptr, nullptr, Plain},
      {"Bildffnen1", "Bild öffnen...", Plain},
      {"AlsBildspeichern1", "Als Bild speichern mit Hintergrund...", Plain},
      {"AlsBildspeichernnurLinien1", "Als Bild speichern nur Linien...", Plain},
      {nullptr, nullptr, Plain},
      {"Projektffnen1", "Projekt öffnen...", Plain},
      {"Projektspeichern1", "Projekt speichern...", Plain},
      {nullptr, nullptr, Plain},
      {"MessergebnissealsCSVDateiexportieren1", "Messergebnisse als CSV Datei exportieren...",
       Plain},
      {nullptr, nullptr, Plain},
      {"LinienalsSVGspeichern1", "Linien als SVG exportieren....", Hidden},
      {"LinienalsDXFexportieren1", "Linien als EMF exportieren...", Hidden},
      {"LinienDXFfrCNCexportierenKreisbgenkeineSplines1",
       "Linien als DXF für CNC exportieren (Kreisbögen, keine Splines)...", Hidden},
      {nullptr, nullptr, Hidden},
      {"Druckereinrichten1", "Drucker einrichten...", Plain},
      {"Drucken1", "Drucken mit Bild...", Plain},
      {"DruckenohneBild1", "Drucken ohne Bild...", Plain},
      {nullptr, nullptr, Plain},
      {"Scannen1", "Scannen...", Plain},
      {"Scannerwhlen1", "Scanner wählen...", Plain},
      {nullptr, nullptr, Plain},
      {"Beenen1", "Beenden", Plain}}},
    {"Bearbeiten",
     {{"Kopieren1", "Kopieren", Plain},
      {"Einfgen1", "Einfügen", Plain},
      {"Lschen1", "Löschen", Plain},
      {nullptr, nullptr, Plain},
      {"Beschreibungbearbeiten1", "Bezeichnung bearbeiten", Plain}}},
    {"Einstellungen",
     {{"Schriftart1", "Schriftart...", Plain},
      {nullptr, nullptr, Plain},
      {"PfeillngeundSchriftgrebeimffneneinesBildesautomatischvoreinstellen1",
       "Pfeillänge und Schriftgröße dem Bild anpassen", Checkable | Checked},
      {"BezeichnungfrElementeeingebenlassen1", "Bezeichnung für Elemente gleich mit abfragen",
       Checkable | Checked},
      {"NachMessungwiederdenZeigerauswhlen1", "Nach Messung wieder den Zeiger auswählen",
       Checkable},
      {"SchriftumrandenumdieLesbarkeitzuverbessern1",
       "Schrift umranden, um die Lesbarkeit zu verbessern", Checkable},
      {nullptr, nullptr, Plain},
      {"Ergebnisslisteanzeigen1", "Ergebnissliste anzeigen", Checkable | Checked}}},
    {"Maßstab",
     {{"Grafisch1", "Grafisch", Plain},
      {"Numerisch1", "Numerisch", Plain},
      {nullptr, nullptr, Plain},
      {"Anzeigen1", "Anzeigen", Checkable | Checked}}},
    {"Sprache",
     {{"Deutsch1", "Deutsch", Checkable | Radio},
      {"English1", "English", Checkable | Radio},
      {nullptr, nullptr, Plain},
      {"bersetzen1", "Übersetzen...", Plain}}},
    {"Hilfe", {{"berdasProgramm1", "Über das Programm", Plain}}},
};

struct ToolDef {
    const char* name;
    const char* hint;
    ToolIcon icon;
};
const ToolDef kTools[] = {
    {"ZeigerBtn", "Objekte auswählen", ToolIcon::Zeiger},
    {"HandBtn", "Ansicht verschieben", ToolIcon::Hand},
    {"DimensionBtn", "Abstand messen; STRG/ALT Taste für horizontale/vertikale Linie",
     ToolIcon::Dimension},
    {"StreckeBtn", "Gesamtstrecke vermessen; STRG/ALT Taste für horizontale/vertikale Linie",
     ToolIcon::Strecke},
    {"PolygonBtn", "Polygon-Fläche messen; STRG/ALT Taste für horizontale/vertikale Linie",
     ToolIcon::Polygon},
    {"RectBtn", "Rechteck Messung; STRG für Quadrat", ToolIcon::Rect},
    {"CircleBtn", "Ellipse (STRG gedrückt halten für Kreis)", ToolIcon::Circle},
    {"SchraegBtn", "Geneigte Strecke messen, z.B. Dachschräge messen; Winkel muss bekannt sein",
     ToolIcon::Schraeg},
    {"massstabBtn", "Maßstab grafisch ermitteln", ToolIcon::Massstab},
    {"TextBtn", "Beschriftung hinzufügen", ToolIcon::Text},
};

QLabel* caption(const char* text, QWidget* parent) {
    return new QLabel(QString::fromUtf8(text), parent);
}

} // namespace

TMainForm::TMainForm(const AppConfig& config)
    : arguments_(config.arguments), qtMessages_(std::make_unique<QtMessageService>(this)),
      qtFiles_(this), keyTracker_(new KeyboardTracker(this)),
      messages_(config.messages ? config.messages : qtMessages_.get()), dialogs_(config.dialogs),
      files_(config.files ? config.files : &qtFiles_),
      keyboard_(config.keyboard ? config.keyboard : keyTracker_), translator_(messages_),
      doc_(std::make_unique<Document>(messages_)), screenBits_(config.screenBits) {
    progpath_ =
        config.progpath.isEmpty() ? QCoreApplication::applicationDirPath() : config.progpath;
    dataHome_ = config.dataHome.isEmpty()
                    ? QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
                    : config.dataHome;
    settingsFile_ = config.settingsFile;
    FormCreate();
}

TMainForm::~TMainForm() {
    // FormDestroy: the document releases the picture, the elements with their vertex arrays
    // and labels, and the copied element.
    qApp->removeEventFilter(keyTracker_);
    scanCancel_ = true; // a scan still running stops, and its picture is dropped
    if (scanThread_.joinable())
        scanThread_.join();
    for (auto& [token, r] : scans_)
        freedib(r.picture);
    saveStoredProps();
    // The widgets outlive the document (children go last): detach what reads it.
    ListView1->setModel(nullptr);
    delete results;
    PaintBox1->onPaint = nullptr;
    PaintBox1->onMouseDown = nullptr;
    PaintBox1->onMouseMove = nullptr;
    PaintBox1->onMouseUp = nullptr;
}

void TMainForm::FormCreate() {
    if (!progpath_.endsWith(QLatin1Char('/')))
        progpath_ += QLatin1Char('/');
    // Every number shown or written uses a point, whatever the user's locale says.
    QLocale::setDefault(QLocale::c());
    setLocale(QLocale::c());
    std::setlocale(LC_NUMERIC, "C");

    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("Tervalo Picmetra 1.0"));
    qApp->installEventFilter(keyTracker_);

    buildMenu();
    buildTopBar();
    buildToolBar();
    buildCentre();
    statusBar()->setObjectName(QStringLiteral("StatusBar1"));
    statusBar()->setSizeGripEnabled(true);

    massstabForm = new TmassstabForm(this);
    BezeichnungForm = new TBezeichnungForm(this);
    NeigungForm = new TNeigungForm(this);
    TranslateForm = new TTranslateForm(translator_, *messages_, this);
    DXFExportForm = new TDXFExportForm(this);
    AboutBox = new TAboutBox(this);
    printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    PrintForm = new TPrintForm(*printer_, screenBits_ ? screenBits_ : 32, this);
    qtDialogs_ = std::make_unique<QtDialogService>(massstabForm, NeigungForm, BezeichnungForm,
                                                   DXFExportForm);
    if (!dialogs_)
        dialogs_ = qtDialogs_.get();
    InteractionHost& host = *this;
    interaction_ = std::make_unique<Interaction>(*doc_, host, *dialogs_, *keyboard_);

    // 904 x 555 client pixels below the menu, centred on the screen.
    resize(904, 555 + menuBar()->sizeHint().height());
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(), size());
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }

    translator_.InitTranslations(
        QDir::toNativeSeparators(progpath_ + QStringLiteral("translate.dat")).toStdString());
}

void TMainForm::buildMenu() {
    menuBar()->setObjectName(QStringLiteral("MainMenu1"));
    auto* languages = new QActionGroup(this);
    for (const MenuDef& m : kMenus) {
        QMenu* menu = menuBar()->addMenu(QString::fromUtf8(m.caption));
        for (const MenuItem& item : m.items) {
            QAction* a =
                item.name ? menu->addAction(QString::fromUtf8(item.caption)) : menu->addSeparator();
            if (item.name) {
                a->setObjectName(QLatin1String(item.name));
                actions_.insert(a->objectName(), a);
            }
            a->setCheckable(item.flags & Checkable);
            a->setChecked(item.flags & Checked);
            a->setVisible(!(item.flags & Hidden));
            if (item.flags & Radio)
                languages->addAction(a);
        }
    }
    action(QStringLiteral("Lschen1"))->setShortcut(QKeySequence(Qt::Key_Delete));
    connect(action(QStringLiteral("Beenen1")), &QAction::triggered, this, &TMainForm::Beenen1Click);
    connect(action(QStringLiteral("Numerisch1")), &QAction::triggered, this,
            &TMainForm::Numerisch1Click);
    connect(action(QStringLiteral("Anzeigen1")), &QAction::triggered, this,
            &TMainForm::Anzeigen1Click);
    connect(action(QStringLiteral("Ergebnisslisteanzeigen1")), &QAction::triggered, this,
            &TMainForm::Ergebnisslisteanzeigen1Click);
    connect(action(QStringLiteral("MessergebnissealsCSVDateiexportieren1")), &QAction::triggered,
            this, &TMainForm::MessergebnissealsCSVDateiexportieren1Click);
    connect(action(QStringLiteral("SchriftumrandenumdieLesbarkeitzuverbessern1")),
            &QAction::triggered, this, &TMainForm::PaintBox1Paint);
    connect(action(QStringLiteral("Lschen1")), &QAction::triggered, this, &TMainForm::Lschen1Click);
    connect(action(QStringLiteral("Bildffnen1")), &QAction::triggered, this,
            &TMainForm::Bildffnen1Click);
    connect(action(QStringLiteral("Neu1")), &QAction::triggered, this, &TMainForm::Neu1Click);
    connect(action(QStringLiteral("Schriftart1")), &QAction::triggered, this,
            &TMainForm::Schriftart1Click);
    connect(action(QStringLiteral("berdasProgramm1")), &QAction::triggered, this,
            &TMainForm::berdasProgramm1Click);
    connect(action(QStringLiteral("Grafisch1")), &QAction::triggered, this,
            &TMainForm::Grafisch1Click);
    connect(action(QStringLiteral("Scannerwhlen1")), &QAction::triggered, this,
            &TMainForm::Scannerwhlen1Click);
    connect(action(QStringLiteral("Scannen1")), &QAction::triggered, this,
            &TMainForm::Scannen1Click);
    connect(action(QStringLiteral("Druckereinrichten1")), &QAction::triggered, this,
            &TMainForm::Druckereinrichten1Click);
    connect(action(QStringLiteral("Drucken1")), &QAction::triggered, this,
            &TMainForm::Drucken1Click);
    connect(action(QStringLiteral("DruckenohneBild1")), &QAction::triggered, this,
            &TMainForm::DruckenohneBild1Click);
    connect(action(QStringLiteral("AlsBildspeichern1")), &QAction::triggered, this,
            &TMainForm::AlsBildspeichern1Click);
    connect(action(QStringLiteral("AlsBildspeichernnurLinien1")), &QAction::triggered, this,
            &TMainForm::AlsBildspeichernnurLinien1Click);
    connect(action(QStringLiteral("LinienalsSVGspeichern1")), &QAction::triggered, this,
            &TMainForm::LinienalsSVGspeichern1Click);
    connect(action(QStringLiteral("LinienalsDXFexportieren1")), &QAction::triggered, this,
            &TMainForm::LinienalsDXFexportieren1Click);
    connect(action(QStringLiteral("LinienDXFfrCNCexportierenKreisbgenkeineSplines1")),
            &QAction::triggered, this,
            &TMainForm::LinienDXFfrCNCexportierenKreisbgenkeineSplines1Click);
    connect(action(QStringLiteral("Deutsch1")), &QAction::triggered, this,
            &TMainForm::Deutsch1Click);
    connect(action(QStringLiteral("English1")), &QAction::triggered, this,
            &TMainForm::English1Click);
    connect(action(QStringLiteral("bersetzen1")), &QAction::triggered, this,
            &TMainForm::bersetzen1Click);
    connect(action(QStringLiteral("Projektspeichern1")), &QAction::triggered, this,
            &TMainForm::Projektspeichern1Click);
    connect(action(QStringLiteral("Projektffnen1")), &QAction::triggered, this,
            &TMainForm::Projektffnen1Click);
    connect(action(QStringLiteral(
                "PfeillngeundSchriftgrebeimffneneinesBildesautomatischvoreinstellen1")),
            &QAction::triggered, this,
            &TMainForm::PfeillngeundSchriftgrebeimffneneinesBildesautomatischvoreinstellen1Click);
    connect(action(QStringLiteral("Kopieren1")), &QAction::triggered, this,
            &TMainForm::Kopieren1Click);
    connect(action(QStringLiteral("Einfgen1")), &QAction::triggered, this,
            &TMainForm::Einfgen1Click);
    connect(action(QStringLiteral("Beschreibungbearbeiten1")), &QAction::triggered, this,
            &TMainForm::Beschreibungbearbeiten1Click);
}

void TMainForm::buildTopBar() {
    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFixedHeight(33);
    auto* row = new QHBoxLayout(Panel1);
    row->setContentsMargins(2, 1, 2, 1);

    ToolBar1 = new QToolBar(Panel1);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setIconSize(QSize(24, 24));
    OpenBtn = new QToolButton(ToolBar1);
    OpenBtn->setObjectName(QStringLiteral("OpenBtn"));
    OpenBtn->setIcon(toolIcon(ToolIcon::Open));
    OpenBtn->setToolTip(QStringLiteral("Bild öffnen"));
    ToolBar1->addWidget(OpenBtn);
    connect(OpenBtn, &QToolButton::clicked, this, &TMainForm::Bildffnen1Click);
    row->addWidget(ToolBar1);

    Panel2 = new QWidget(Panel1);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    auto* bar = new QHBoxLayout(Panel2);
    bar->setContentsMargins(0, 0, 0, 0);
    bar->addWidget(caption("Zoom:", Panel2));
    zoomed = new QSpinBox(Panel2);
    zoomed->setObjectName(QStringLiteral("zoomed"));
    zoomed->setRange(10, 30000);
    zoomed->setSingleStep(10);
    zoomed->setValue(100);
    zoomed->setAlignment(Qt::AlignRight);
    bar->addWidget(zoomed);
    Shape1 = new ColorSwatch(Panel2);
    bar->addWidget(Shape1);
    ChooseColorBtn = new QPushButton(QStringLiteral("Farbe wählen"), Panel2);
    ChooseColorBtn->setObjectName(QStringLiteral("ChooseColorBtn"));
    bar->addWidget(ChooseColorBtn);
    FontBtn = new QPushButton(QStringLiteral("Schrift..."), Panel2);
    FontBtn->setObjectName(QStringLiteral("FontBtn"));
    bar->addWidget(FontBtn);
    bar->addWidget(caption("Linienbreite:", Panel2));
    WidthEd = makeDecimalField(Panel2, "WidthEd", 1);
    WidthEd->setRange(0.1, 10);
    WidthEd->setSingleStep(0.1);
    WidthEd->setValue(2.0);
    bar->addWidget(WidthEd);
    bar->addWidget(caption("Pfeillänge", Panel2));
    PfeillangEd = makeDecimalField(Panel2, "PfeillangEd", 2);
    PfeillangEd->setRange(0.1, 1000);
    PfeillangEd->setSingleStep(1);
    PfeillangEd->setValue(30.0);
    bar->addWidget(PfeillangEd);
    ShowPicCheck = new QCheckBox(QStringLiteral("Zeige Bild"), Panel2);
    ShowPicCheck->setObjectName(QStringLiteral("ShowPicCheck"));
    ShowPicCheck->setChecked(true);
    bar->addWidget(ShowPicCheck);
    bar->addStretch(1);
    row->addWidget(Panel2, 1);

    connect(zoomed, &QSpinBox::valueChanged, this, &TMainForm::zoomedChange);
    connect(Shape1, &ColorSwatch::pressed, this, &TMainForm::Shape1MouseDown);
    connect(ChooseColorBtn, &QPushButton::clicked, this, &TMainForm::ChooseColorBtnClick);
    connect(FontBtn, &QPushButton::clicked, this, &TMainForm::Schriftart1Click);
    connect(WidthEd, &QDoubleSpinBox::valueChanged, this, &TMainForm::PaintBox1Paint);
    connect(PfeillangEd, &QDoubleSpinBox::valueChanged, this, &TMainForm::PaintBox1Paint);
    connect(ShowPicCheck, &QCheckBox::toggled, this, &TMainForm::PaintBox1Paint);
}

void TMainForm::buildToolBar() {
    ToolBar2 = new QToolBar(this);
    ToolBar2->setObjectName(QStringLiteral("ToolBar2"));
    ToolBar2->setOrientation(Qt::Vertical);
    ToolBar2->setIconSize(QSize(24, 24));
    tools = new QButtonGroup(this);
    tools->setExclusive(true);
    for (const ToolDef& t : kTools) {
        auto* b = new QToolButton(ToolBar2);
        b->setObjectName(QLatin1String(t.name));
        b->setToolTip(QString::fromUtf8(t.hint));
        b->setIcon(toolIcon(t.icon));
        b->setCheckable(true);
        b->setFixedSize(31, 31);
        b->setAutoRaise(true);
        tools->addButton(b);
        ToolBar2->addWidget(b);
    }
    void (TMainForm::*handlers[])() = {&TMainForm::ZeigerBtnClick,    &TMainForm::HandBtnClick,
                                       &TMainForm::DimensionBtnClick, &TMainForm::StreckeBtnClick,
                                       &TMainForm::PolygonBtnClick,   &TMainForm::RectBtnClick,
                                       &TMainForm::CircleBtnClick,    &TMainForm::SchraegBtnClick,
                                       &TMainForm::massstabBtnClick,  &TMainForm::TextBtnClick};
    const QList<QAbstractButton*> buttons = tools->buttons();
    for (qsizetype i = 0; i < buttons.size(); ++i)
        connect(buttons[i], &QAbstractButton::clicked, this, handlers[i]);
}

void TMainForm::buildCentre() {
    auto* centre = new QWidget(this);
    centre->setObjectName(QStringLiteral("centre"));
    auto* column = new QVBoxLayout(centre);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(Panel1);

    auto* row = new QHBoxLayout;
    row->setSpacing(0);
    row->addWidget(ToolBar2);

    ScrollBox1 = new QWidget(centre);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    auto* grid = new QGridLayout(ScrollBox1);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);
    PaintBox1 = new PaintBox(ScrollBox1);
    PaintBox1->onPaint = [this](QPainter& p) { paintBoxPaintEvent(p); };
    auto button = [](int b) {
        return b == 2 ? MouseButton::Right : b == 1 ? MouseButton::Middle : MouseButton::Left;
    };
    PaintBox1->onMouseDown = [this, button](int b, int x, int y) {
        PaintBox1MouseDown(button(b), x, y);
    };
    PaintBox1->onMouseMove = [this](int x, int y) { PaintBox1MouseMove(x, y); };
    PaintBox1->onMouseUp = [this, button](int b, int x, int y) {
        PaintBox1MouseUp(button(b), x, y);
    };
    ScrollBar1 = new QScrollBar(Qt::Horizontal, ScrollBox1);
    ScrollBar1->setObjectName(QStringLiteral("ScrollBar1"));
    ScrollBar2 = new QScrollBar(Qt::Vertical, ScrollBox1);
    ScrollBar2->setObjectName(QStringLiteral("ScrollBar2"));
    for (QScrollBar* s : {ScrollBar1, ScrollBar2}) {
        s->setRange(-10000, 10000);
        s->setSingleStep(10);
        s->setPageStep(50);
        s->setValue(0);
    }
    connect(ScrollBar1, &QScrollBar::valueChanged, this, &TMainForm::ScrollBar1Change);
    connect(ScrollBar2, &QScrollBar::valueChanged, this, &TMainForm::ScrollBar2Change);
    grid->addWidget(PaintBox1, 0, 0);
    grid->addWidget(ScrollBar2, 0, 1);
    grid->addWidget(ScrollBar1, 1, 0);
    row->addWidget(ScrollBox1, 1);

    ListView1 = new QTreeView(centre);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setFixedWidth(280);
    ListView1->setRootIsDecorated(false);
    ListView1->setUniformRowHeights(true);
    ListView1->setSelectionMode(QAbstractItemView::NoSelection);
    results = new ResultsModel(doc_->elemente, translator_, ListView1);
    ListView1->setModel(results);
    for (int c = colBezeichnung; c < kResultColumns; ++c)
        ListView1->setColumnWidth(c, 75);
    row->addWidget(ListView1);

    column->addLayout(row, 1);
    setCentralWidget(centre);
}

bool TMainForm::checked(const QString& actionName) const {
    const QAction* a = action(actionName);
    return a && a->isChecked();
}

void TMainForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    FormShow();
}

void TMainForm::closeEvent(QCloseEvent* event) {
    // Closing asks nothing; only the stored form properties are kept.
    saveStoredProps();
    QMainWindow::closeEvent(event);
}

void TMainForm::FormShow() {
    if (openfirst_)
        return;
    restoreStoredProps();
    openfirst_ = true;
    LoadOptions();
    translator_.RegisterMessages();
    translator_.setLanguage(languagesetto);
    if (languagesetto != 0)
        TranslateComponents(this, translator_);
    doc_->scale.einh = translator_.GetMessageText(3);
    ListView1->setVisible(checked(QStringLiteral("Ergebnisslisteanzeigen1")));
    if (!arguments_.isEmpty())
        LadeBild(arguments_.first());
}

std::string TMainForm::trFilter(const std::string& filter) {
    // Descriptions and patterns alternate; format names in capitals are the same everywhere.
    const QStringList parts = QString::fromStdString(filter).split(QLatin1Char('|'));
    QStringList out;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const bool name = parts[i] == parts[i].toUpper();
        out << (i % 2 == 0 && !name ? qs(trText(us(parts[i]))) : parts[i]);
    }
    return out.join(QLatin1Char('|')).toStdString();
}

std::string TMainForm::GetProgramDir(bool create) const {
    return pm::GetProgramDir(create, dataHome_.toStdString(), progpath_.toStdString());
}

void TMainForm::LoadOptions() {
    languagesetto = 1;
    translator_.setLanguage(1);
    dontchlang = true;
    action(QStringLiteral("English1"))->setChecked(true);
    dontchlang = false;
    const std::optional<int> stored = pm::LoadOptions(GetProgramDir(false) + "options.dat");
    if (!stored)
        return; // missing or unusable: English
    languagesetto = *stored;
    dontchlang = true;
    if (languagesetto == 0)
        action(QStringLiteral("Deutsch1"))->setChecked(true);
    else if (languagesetto == 1)
        action(QStringLiteral("English1"))->setChecked(true);
    dontchlang = false;
}

void TMainForm::SaveOptions() {
    pm::SaveOptions(GetProgramDir(true) + "options.dat", translator_.language());
}

void TMainForm::setLanguage(int index) {
    if (dontchlang)
        return;
    action(QLatin1String(index == 0 ? "Deutsch1" : "English1"))->setChecked(true);
    translator_.setLanguage(index);
    SaveOptions();
    messages_->show(translator_.GetMessageText(1), translator_.GetMessageText(2),
                    MsgIcon::Information);
}

void TMainForm::Deutsch1Click() {
    setLanguage(0);
}

void TMainForm::English1Click() {
    setLanguage(1);
}

void TMainForm::bersetzen1Click() {
    TranslateForm->FillStringGrid();
    TranslateForm->exec();
    messages_->show(translator_.GetMessageText(1), translator_.GetMessageText(2),
                    MsgIcon::Information);
}

// The picture exports also take the vector formats by the file name's extension: that is how
// the SVG, EMF and DXF exports reach the user while their menu entries stay hidden.
void TMainForm::savePictureCommand(bool withBackground) {
    const std::u16string caption =
        withBackground ? u"Als Bild speichern mit Hintergrund" : u"Als Bild speichern nur Linien";
    const std::string name = files_->saveFileName(trText(caption), "", "bmp");
    if (!name.empty())
        exportTo(name, withBackground);
}

void TMainForm::exportTo(const std::string& fileName, bool withBackground) {
    const QString suffix = QFileInfo(QString::fromStdString(fileName)).suffix().toLower();
    if (suffix == QLatin1String("emf")) {
        saveasemf(fileName);
        return;
    }
    if (suffix == QLatin1String("dxf")) {
        dxfPieces_ = dialogs_->askDxfPieces(dxfPieces_);
        savedxfArc(fileName);
        return;
    }
    RenderContext ctx = renderContext();
    ctx.texts = {translator_.GetMessageText(6), translator_.GetMessageText(12)};
    const bool ok = suffix == QLatin1String("svg")
                        ? saveSvg(fileName, *doc_, ctx, withBackground)
                        : savePicture(fileName, *doc_, ctx, withBackground, messages_);
    if (!ok)
        messages_->show(translator_.GetMessageText(14) + u"\n" +
                            us(QString::fromStdString(fileName)),
                        u"", MsgIcon::Error);
    PaintBox1Paint(); // the export wrote results into the elements as the view does
}

void TMainForm::LinienalsSVGspeichern1Click() {
    const std::string name = files_->saveFileName(trText(u"Linien als SVG exportieren"),
                                                  trFilter("SVG-Dateien (*.svg)|*.svg"), "svg");
    if (!name.empty())
        exportTo(name, false);
}

void TMainForm::LinienalsDXFexportieren1Click() {
    const std::string name = files_->saveFileName(trText(u"Linien als EMF exportieren"),
                                                  trFilter("EMF Dateien (*.emf)|*.emf"), "emf");
    if (!name.empty())
        saveasemf(name);
}

void TMainForm::LinienDXFfrCNCexportierenKreisbgenkeineSplines1Click() {
    dxfPieces_ = dialogs_->askDxfPieces(dxfPieces_);
    const std::string name = files_->saveFileName(
        trText(u"Linien als DXF für CNC exportieren (Kreisbögen, keine Splines)"),
        trFilter("DXF Dateien (*.dxf)|*.dxf"), "dxf");
    if (!name.empty())
        savedxfArc(name);
}

void TMainForm::saveasemf(const std::string& fileName) {
    const RenderContext ctx = renderContext();
    if (!pm::saveasemf(fileName, doc_->elemente, zoomed->value(), ctx.settings.lineColor,
                       ctx.penWidth()))
        messages_->show(translator_.GetMessageText(14) + u"\n" +
                            us(QString::fromStdString(fileName)),
                        u"", MsgIcon::Error);
}

void TMainForm::savedxfArc(const std::string& fileName) {
    if (!pm::savedxfArc(fileName, doc_->elemente, std::clamp(dxfPieces_, 1, 20)))
        messages_->show(translator_.GetMessageText(17) + u" " +
                            us(QString::fromStdString(fileName)),
                        u"", MsgIcon::Error);
}

void TMainForm::Druckereinrichten1Click() {
    QPrintDialog dialog(printer_.get(), this);
    dialog.exec();
}

void TMainForm::printCommand(bool withPicture) {
    RenderContext ctx = renderContext();
    ctx.texts = {translator_.GetMessageText(6), translator_.GetMessageText(12)};
    ctx.settings.showPicture = withPicture;
    const QImage drawing = renderExport(*doc_, ctx, messages_);
    dib picture;
    if (!drawing.isNull())
        newdib(picture, drawing.width(), drawing.height(), 24, nullptr, 0);
    if (!picture.poi) {
        messages_->show(trText(u"Das Bild ist zu groß zum Drucken."), u"", MsgIcon::Error);
        return;
    }
    for (int y = 0; y < drawing.height(); ++y) {
        const auto* src = reinterpret_cast<const QRgb*>(drawing.constScanLine(y));
        std::uint8_t* dst = dibRowFromTop(picture, y);
        for (int x = 0; x < drawing.width(); ++x) {
            dst[3 * x] = std::uint8_t(qBlue(src[x]));
            dst[3 * x + 1] = std::uint8_t(qGreen(src[x]));
            dst[3 * x + 2] = std::uint8_t(qRed(src[x]));
        }
    }
    PrintForm->setPicture(picture);
    if (PrintForm->exec() == QDialog::Accepted)
        printPage();
    PaintBox1Paint();
}

bool TMainForm::printPage() {
    printer_->setDocName(qs(translator_.GetMessageText(13)));
    QPainter painter;
    if (!painter.begin(printer_.get())) {
        messages_->show(trText(u"Der Drucker konnte nicht angesprochen werden."), u"",
                        MsgIcon::Error);
        return false;
    }
    // The printer's page is the sheet: the print lands where the preview showed it.
    const QSize page = PrintForm->pageSize();
    const dib& di = PrintForm->picture();
    const Rect r = printRect({0, 0, page.width(), page.height()}, dibwidth(di), dibheight(di),
                             PrintForm->choice());
    PainterDibDevice device(painter, true, screenBits_ ? screenBits_ : 32);
    drawdib(device, r.x, r.y, r.w, r.h, di, 0, 0, dibwidth(di), dibheight(di), false,
            RasterOp::Copy, messages_);
    return painter.end();
}

SaneSession& TMainForm::sane() {
    if (!sane_)
        sane_ = std::make_unique<SaneSession>();
    return *sane_;
}

void TMainForm::Scannerwhlen1Click() {
    if (scanning_)
        return;
    const std::vector<ScannerInfo> list = sane().scanners();
    if (list.empty()) {
        messages_->show(trText(u"Es wurde kein Scanner gefunden."), u"", MsgIcon::Information);
        return;
    }
    std::vector<std::string> labels;
    int current = 0;
    for (std::size_t i = 0; i < list.size(); ++i) {
        labels.push_back(list[i].label + " - " + list[i].name);
        if (list[i].name == scanner_)
            current = int(i);
    }
    const int picked = dialogs_->chooseScanner(labels, current);
    if (picked < 0 || picked >= int(list.size()))
        return;
    scanner_ = list[std::size_t(picked)].name;
    storage()->setValue(QStringLiteral("Scanner/Device"), QString::fromStdString(scanner_));
}

void TMainForm::Scannen1Click() {
    if (scanning_)
        return;
    if (scanner_.empty())
        scanner_ = storage()->value(QStringLiteral("Scanner/Device")).toString().toStdString();
    if (scanner_.empty()) {
        const std::vector<ScannerInfo> list = sane().scanners();
        if (list.empty()) {
            messages_->show(trText(u"Es wurde kein Scanner gefunden."), u"", MsgIcon::Information);
            return;
        }
        scanner_ = list.front().name;
    }
    sane(); // SANE runs before the scanning thread uses it
    if (scanThread_.joinable())
        scanThread_.join();
    scanning_ = true;
    scanCancel_ = false;
    const int token = nextToken_++;
    if (!scanProgress_) {
        scanProgress_ = new QProgressDialog(this);
        scanProgress_->setObjectName(QStringLiteral("ScanProgress"));
        scanProgress_->setWindowModality(Qt::WindowModal);
        scanProgress_->setRange(0, 1000);
        scanProgress_->setMinimumDuration(0);
        connect(scanProgress_, &QProgressDialog::canceled, this, [this] { scanCancel_ = true; });
    }
    scanProgress_->setLabelText(qs(trText(u"Scannen...")));
    scanProgress_->setCancelButtonText(qs(trText(u"Abbrechen")));
    scanProgress_->setValue(0);
    scanProgress_->show();
    QPointer<QProgressDialog> progress = scanProgress_;
    scanThread_ = std::thread([this, token, device = scanner_, progress] {
        ScanResult r;
        r.status = scanPage(
            device, r.picture,
            [progress](double f) {
                QMetaObject::invokeMethod(
                    progress,
                    [progress, f] {
                        if (progress)
                            progress->setValue(int(f * 1000));
                    },
                    Qt::QueuedConnection);
            },
            scanCancel_, r.error);
        {
            std::lock_guard<std::mutex> lock(scansMutex_);
            scans_[token] = r;
        }
        // The picture reaches the window as a posted event carrying its token.
        QCoreApplication::postEvent(this, new ScanReadyEvent(token));
    });
}

bool TMainForm::event(QEvent* event) {
    if (event->type() == ScanReadyEvent::kType) {
        WMUser2(static_cast<ScanReadyEvent*>(event)->token);
        return true;
    }
    return QMainWindow::event(event);
}

dib TMainForm::GetScanedDib(int token) {
    std::lock_guard<std::mutex> lock(scansMutex_);
    auto it = scans_.find(token);
    if (it == scans_.end())
        return dib{};
    const dib picture = it->second.picture;
    scans_.erase(it);
    return picture;
}

void TMainForm::WMUser2(int token) {
    ScanStatus status = ScanStatus::Failed;
    std::string error;
    {
        std::lock_guard<std::mutex> lock(scansMutex_);
        if (auto it = scans_.find(token); it != scans_.end()) {
            status = it->second.status;
            error = it->second.error;
        }
    }
    finishScan();
    dib picture = GetScanedDib(token);
    if (!picture.poi) {
        if (status == ScanStatus::Failed && !error.empty())
            messages_->show(trText(u"Das Scannen ist fehlgeschlagen:") + u" " +
                                us(QString::fromStdString(error)),
                            u"", MsgIcon::Warning);
        return;
    }
    // The zoom, arrow length and label font stay; the elements are kept.
    doc_->replacePicture(picture);
    PaintBox1Paint();
}

void TMainForm::finishScan() {
    if (scanThread_.joinable())
        scanThread_.join();
    scanning_ = false;
    if (scanProgress_)
        scanProgress_->hide();
}

void TMainForm::ChooseColorBtnClick() {
    std::uint32_t color = Shape1->color().rgb() & 0xFFFFFF;
    if (!dialogs_->chooseColor(color))
        return; // cancelled: no repaint either
    Shape1->setColor(QColor::fromRgb(color));
    PaintBox1Paint();
}

void TMainForm::Schriftart1Click() {
    LabelFont& f = labelFont;
    int style =
        (f.bold ? 1 : 0) | (f.italic ? 2 : 0) | (f.underline ? 4 : 0) | (f.strikeout ? 8 : 0);
    std::uint32_t color =
        std::uint32_t(f.color.r) << 16 | std::uint32_t(f.color.g) << 8 | f.color.b;
    if (dialogs_->chooseFont(f.face, f.height, style, color)) {
        f.bold = style & 1;
        f.italic = style & 2;
        f.underline = style & 4;
        f.strikeout = style & 8;
        f.color = {std::uint8_t(color >> 16), std::uint8_t(color >> 8), std::uint8_t(color)};
    }
    PaintBox1Paint(); // repainted in either case
}

void TMainForm::berdasProgramm1Click() {
    AboutBox->exec();
}

void TMainForm::Neu1Click() {
    if (!messages_->askYesNo(translator_.GetMessageText(8), translator_.GetMessageText(9)))
        return;
    doc_->elemente.removeAll();
    PaintBox1Paint();
}

void TMainForm::Bildffnen1Click() {
    const std::string name =
        files_->openFileName(trText(u"Bild öffnen"), trFilter(GetDIBOpenFilter()));
    if (!name.empty())
        LadeBild(QString::fromStdString(name));
}

void TMainForm::LadeBild(const QString& fileName) {
    dib picture;
    OpenDib(picture, fileName.toStdString());
    if (!picture.poi) {
        messages_->show(translator_.GetMessageText(5), u"", MsgIcon::None);
        return;
    }
    doc_->replacePicture(picture);
    // The picture's width fills the drawing area; the field clamps to its range.
    zoomed->setValue(int(std::int64_t(PaintBox1->width()) * 100 / dibwidth(doc_->di)));
    if (checked(
            QStringLiteral("PfeillngeundSchriftgrebeimffneneinesBildesautomatischvoreinstellen1")))
        adaptToZoom();
    PaintBox1Paint();
}

namespace {
const char* const kProjectFilter = "Vermessungsprojekt (*.ver)|*.ver";
// The six options in the order the project file keeps them.
const char* const kOptionActions[kProjectOptions] = {
    "Anzeigen1",
    "Ergebnisslisteanzeigen1",
    "SchriftumrandenumdieLesbarkeitzuverbessern1",
    "NachMessungwiederdenZeigerauswhlen1",
    "BezeichnungfrElementeeingebenlassen1",
    "PfeillngeundSchriftgrebeimffneneinesBildesautomatischvoreinstellen1",
};
} // namespace

void TMainForm::Projektspeichern1Click() {
    const std::string name =
        files_->saveFileName(trText(u"Projekt speichern"), trFilter(kProjectFilter), "ver");
    if (!name.empty())
        saveprojekt(QString::fromStdString(name));
}

void TMainForm::Projektffnen1Click() {
    const std::string name =
        files_->openFileName(trText(u"Projekt öffnen"), trFilter(kProjectFilter));
    if (!name.empty())
        openprojekt(QString::fromStdString(name));
}

bool TMainForm::saveprojekt(const QString& fileName) {
    ProjectSettings s;
    const QColor c = Shape1->color();
    s.color = {std::uint8_t(c.red()), std::uint8_t(c.green()), std::uint8_t(c.blue())};
    s.lineWidth = WidthEd->value();
    s.arrowLength = PfeillangEd->value();
    for (int i = 0; i < kProjectOptions; ++i)
        s.options[std::size_t(i)] = checked(QLatin1String(kOptionActions[i]));
    s.zoom = zoomed->value();
    s.font = labelFont;
    if (pm::saveprojekt(fileName.toStdString(), doc_->elemente, doc_->di, s))
        return true;
    messages_->show(translator_.GetMessageText(14), u"", MsgIcon::None);
    return false;
}

bool TMainForm::openprojekt(const QString& fileName) {
    ProjectData data;
    switch (readProject(fileName.toStdString(), data)) {
    case ReadResult::Ok:
        break;
    case ReadResult::CannotOpen:
        messages_->show(translator_.GetMessageText(15), u"", MsgIcon::None);
        return false;
    case ReadResult::Damaged:
        // Read completely before anything is replaced: the document stays as it was.
        messages_->show(translator_.GetMessageText(15) + u"\n" +
                            translator_.TranslateText(
                                u"Die Datei ist beschädigt oder kein Vermessungsprojekt."),
                        u"", MsgIcon::Warning);
        return false;
    }
    if (!takeElements(data, doc_->elemente))
        return false;
    doc_->replacePicture(data.picture);
    const ProjectSettings& s = data.settings;
    Shape1->setColor(QColor(s.color.r, s.color.g, s.color.b));
    WidthEd->setValue(s.lineWidth);
    PfeillangEd->setValue(s.arrowLength);
    for (int i = 0; i < kProjectOptions; ++i)
        action(QLatin1String(kOptionActions[i]))->setChecked(s.options[std::size_t(i)]);
    zoomed->setValue(int(std::clamp(s.zoom, 10.0, 30000.0)));
    ListView1->setVisible(s.options[optErgebnisliste]);
    labelFont = s.font;
    PaintBox1Paint();
    return true;
}

void TMainForm::adaptToZoom() {
    const int z = zoomed->value();
    labelFont.height = int(R(-1500.0 / z));
    PfeillangEd->setValue(3000.0 / z);
}

void TMainForm::PfeillngeundSchriftgrebeimffneneinesBildesautomatischvoreinstellen1Click() {
    if (checked(
            QStringLiteral("PfeillngeundSchriftgrebeimffneneinesBildesautomatischvoreinstellen1")))
        adaptToZoom();
}

void TMainForm::Beenen1Click() {
    close();
}

void TMainForm::Numerisch1Click() {
    bool anzeigen = checked(QStringLiteral("Anzeigen1"));
    Numerisch(*dialogs_, doc_->scale, anzeigen);
    action(QStringLiteral("Anzeigen1"))->setChecked(anzeigen);
    PaintBox1Paint();
}

void TMainForm::Anzeigen1Click() {
    PaintBox1Paint();
}

void TMainForm::Ergebnisslisteanzeigen1Click() {
    ListView1->setVisible(checked(QStringLiteral("Ergebnisslisteanzeigen1")));
}

void TMainForm::MessergebnissealsCSVDateiexportieren1Click() {
    const std::string name =
        files_->saveFileName(trText(u"Messergebnisse als CSV Datei exportieren"),
                             trFilter("CSV-Dateien (*.csv)|*.csv"), "csv");
    if (name.empty())
        return;
    if (!writeResultsCsv(name, doc_->elemente, translator_, doc_->scale.einh))
        messages_->show(translator_.GetMessageText(14) + u"\n" + us(QString::fromStdString(name)),
                        u"", MsgIcon::Error);
}

void TMainForm::zoomedChange() {
    PaintBox1Paint();
}

void TMainForm::ScrollBar1Change() {
    if (!donotpaintnow)
        PaintBox1Paint();
}

void TMainForm::ScrollBar2Change() {
    if (!donotpaintnow)
        PaintBox1Paint();
}

void TMainForm::FormMouseWheelDown() {
    ScrollBar2->setValue(ScrollBar2->value() + 20);
}

void TMainForm::FormMouseWheelUp() {
    ScrollBar2->setValue(ScrollBar2->value() - 20);
}

void TMainForm::wheelEvent(QWheelEvent* event) {
    // One step per 120 units, as wheels report them; towards the user scrolls down.
    const int steps = event->angleDelta().y() / 120;
    for (int i = 0; i < -steps; ++i)
        FormMouseWheelDown();
    for (int i = 0; i < steps; ++i)
        FormMouseWheelUp();
    event->accept();
}

View TMainForm::currentView() const {
    View v;
    v.z = zoomed->value();
    v.h = ScrollBar1->value();
    v.v = ScrollBar2->value();
    v.forExport = paintforexport;
    return v;
}

RenderContext TMainForm::renderContext() const {
    RenderContext ctx;
    ctx.view = currentView();
    RenderSettings& s = ctx.settings;
    const QColor c = Shape1->color();
    s.lineColor = {std::uint8_t(c.red()), std::uint8_t(c.green()), std::uint8_t(c.blue())};
    s.lineWidth = WidthEd->value();
    s.arrowLength = PfeillangEd->value();
    s.font = labelFont;
    s.showPicture = ShowPicCheck->isChecked();
    s.showScale = checked(QStringLiteral("Anzeigen1"));
    s.outline = checked(QStringLiteral("SchriftumrandenumdieLesbarkeitzuverbessern1"));
    s.handTool =
        tools->checkedButton() && tools->checkedButton()->objectName() == QLatin1String("HandBtn");
    s.noendpunkte = noendpunkte;
    ctx.unit = &doc_->scale.einh;
    return ctx;
}

void TMainForm::renderPass() {
    RenderContext ctx = renderContext();
    ctx.texts = {translator_.GetMessageText(6), translator_.GetMessageText(12)};
    const QSize size = paintforexport ? pictureSizeAt(doc_->di, ctx.view) : PaintBox1->size();
    if (bit_.size() != size)
        bit_ = QImage(size, QImage::Format_RGB32);
    int depth = screenBits_;
    if (depth == 0 && QGuiApplication::primaryScreen())
        depth = QGuiApplication::primaryScreen()->depth();
    renderScene(bit_, *doc_, ctx, depth, messages_, &glyphs_);
    ListObjekte();
}

void TMainForm::PaintBox1Paint() {
    renderPass();
    if (!donotreallypaint)
        present();
}

void TMainForm::present() {
    frameFresh_ = true;
    PaintBox1->update();
}

void TMainForm::paintBoxPaintEvent(QPainter& painter) {
    // A frame a command has just rendered is shown as it is; anything else (an expose, a
    // resize) runs the full pass first.
    if (!frameFresh_ || bit_.size() != PaintBox1->size())
        renderPass();
    frameFresh_ = false;
    painter.drawImage(0, 0, bit_);
}

void TMainForm::PaintBox1MouseDown(MouseButton button, int X, int Y) {
    interaction_->PaintBox1MouseDown(button, X, Y);
}

void TMainForm::PaintBox1MouseMove(int X, int Y) {
    interaction_->PaintBox1MouseMove(X, Y);
}

void TMainForm::PaintBox1MouseUp(MouseButton button, int X, int Y) {
    interaction_->PaintBox1MouseUp(button, X, Y);
}

Tool TMainForm::tool() const {
    const QAbstractButton* b = tools->checkedButton();
    if (!b)
        return Tool::None;
    return Tool(int(Tool::Zeiger) + tools->buttons().indexOf(b));
}

void TMainForm::setToolDown(Tool t) {
    const QList<QAbstractButton*> buttons = tools->buttons();
    const qsizetype i = qsizetype(t) - qsizetype(Tool::Zeiger);
    if (i >= 0 && i < buttons.size())
        buttons[i]->setChecked(true);
}

void TMainForm::toolBtnClick(Tool t) {
    setToolDown(t);
    PaintBox1Paint();
}

bool TMainForm::askLabelOption() const {
    return checked(QStringLiteral("BezeichnungfrElementeeingebenlassen1"));
}

bool TMainForm::pointerOption() const {
    return checked(QStringLiteral("NachMessungwiederdenZeigerauswhlen1"));
}

void TMainForm::preview(const std::function<void(Canvas&, const RenderContext&)>& draw) {
    donotreallypaint = true;
    PaintBox1Paint();
    donotreallypaint = false;
    if (!bit_.isNull()) {
        QPainter painter(&bit_);
        QPainterCanvas canvas(painter, &glyphs_);
        draw(canvas, renderContext());
    }
    present();
}

void TMainForm::setScroll(int h, int v) {
    donotpaintnow = true;
    ScrollBar1->setValue(h);
    ScrollBar2->setValue(v);
    donotpaintnow = false;
    PaintBox1Paint();
}

TextSize TMainForm::labelExtent(std::u16string_view text) {
    const QFontMetrics m(qtFont(labelFont, scaledFontHeight(labelFont.height, zoomed->value())));
    return {m.horizontalAdvance(qs(text)), m.height()};
}

void TMainForm::ListObjekte() {
    results->refill();
}

} // namespace pm
