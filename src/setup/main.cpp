// setup: installs a program from the folder it is started from, as Install.log says.
#include "setup/install.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QWidget>

#include <iostream>

namespace {

using namespace setup;

class StderrUi : public Ui {
public:
    void status(const std::string&) override {}
    void message(const std::string& text, const std::string&) override {
        std::cerr << text << "\n";
    }
};

// The progress window: a header, the status text, two disabled buttons.
class ProgressWindow : public QWidget, public Ui {
public:
    explicit ProgressWindow(QWidget* owner) : QWidget(owner, Qt::Window) {
        setObjectName(QStringLiteral("ProgressWindow"));
        setWindowTitle(QStringLiteral("Tervalo Install"));
        setFixedSize(520, 360);
        setAutoFillBackground(true);
        auto* header = new QLabel(
            QStringLiteral("Installation of the program in progress... Please wait..."), this);
        header->setGeometry(-1, -1, width() + 1, 49);
        header->setAlignment(Qt::AlignCenter);
        header->setStyleSheet(QStringLiteral("background: white; font-weight: bold;"));
        text_ = new QLabel(this);
        text_->setObjectName(QStringLiteral("Status"));
        text_->setGeometry(10, 70, width() - 20, 200);
        text_->setAlignment(Qt::AlignCenter);
        text_->setWordWrap(true);
        text_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        text_->setStyleSheet(QStringLiteral("background: white;"));
        for (int y : {49, 279}) {
            auto* line = new QFrame(this);
            line->setFrameStyle(QFrame::HLine | QFrame::Sunken);
            line->setGeometry(0, y, width(), 2);
        }
        auto* next = new QPushButton(QStringLiteral("Next >"), this);
        next->setGeometry(width() - 194, 290, 89, 25);
        next->setEnabled(false);
        auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
        cancel->setGeometry(width() - 97, 290, 89, 25);
        cancel->setEnabled(false);
    }
    void status(const std::string& s) override {
        text_->setText(QString::fromStdString(s).replace(QLatin1Char('\r'), QLatin1Char('\n')));
        QApplication::processEvents();
    }
    void message(const std::string& text, const std::string& caption) override {
        QMessageBox box(QMessageBox::Information,
                        caption.empty() ? QStringLiteral("Tervalo Install")
                                        : QString::fromStdString(caption),
                        QString::fromStdString(text).replace(QLatin1Char('\r'), QLatin1Char('\n')),
                        QMessageBox::Ok, this);
        box.exec();
    }

private:
    QLabel* text_;
};

class MainWindow : public QWidget {
public:
    MainWindow(const InstallLog& log, const Places& places, const std::string& source)
        : log_(log), places_(places) {
        setObjectName(QStringLiteral("TervaloClass"));
        setWindowTitle(QStringLiteral("Tervalo Install"));
        setFixedSize(520, 470);
        const int cw = width();
        auto* title = new QLabel(QStringLiteral("Welcome to the installation program of ") +
                                     QString::fromStdString(log.programName) + QStringLiteral("!"),
                                 this);
        title->setGeometry(-1, -1, cw + 1, 49);
        title->setAlignment(Qt::AlignCenter);
        title->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        title->setStyleSheet(
            QStringLiteral("background: white; font-weight: bold; font-size: 14px;"));
        auto label = [this](const char* text, int y) {
            (new QLabel(QLatin1String(text), this))->setGeometry(8, y, 150, 21);
        };
        label("Source folder:", 64);
        sourceBox_ = new QLineEdit(QString::fromStdString(source), this);
        sourceBox_->setReadOnly(true);
        sourceBox_->setGeometry(160, 64, 347, 21);
        label("Destination folder:", 88);
        destBox_ = new QLineEdit(QString::fromStdString(defaultDestination(log, places)), this);
        destBox_->setObjectName(QStringLiteral("Destination"));
        destBox_->setGeometry(160, 88, 347, 21);
        auto* browse = new QPushButton(QStringLiteral("Browse..."), this);
        browse->setGeometry(160, 115, 89, 25);
        label("Your email address:", 148);
        email_ = new QLineEdit(this);
        email_->setObjectName(QStringLiteral("Email"));
        email_->setGeometry(160, 148, 347, 21);
        auto* about = new QLabel(
            QStringLiteral(
                "Enter your email address to subscribe to our newsletter. You will get "
                "information about new and updated software and special offers with discounts."),
            this);
        about->setWordWrap(true);
        about->setGeometry(8, 178, 492, 61);
        desktop_ = new QCheckBox(QStringLiteral("Create shortcut icon on desktop"), this);
        desktop_->setGeometry(8, 230, 300, 21);
        desktop_->setChecked(true);
        start_ = new QCheckBox(QStringLiteral("Start the program after installation"), this);
        start_->setGeometry(8, 251, 300, 21);
        start_->setChecked(true);
        auto* note =
            new QLabel(QStringLiteral("This program has an uninstall program. You find it in your "
                                      "desktop's application menu.\n\nWith the command line "
                                      "parameter -silent you can install without user interaction"),
                       this);
        note->setWordWrap(true);
        note->setGeometry(8, 304, 503, 83);
        for (int y : {49, 389}) {
            auto* line = new QFrame(this);
            line->setFrameStyle(QFrame::HLine | QFrame::Sunken);
            line->setGeometry(0, y, cw, 2);
        }
        auto* next = new QPushButton(QStringLiteral("Next >"), this);
        next->setGeometry(cw - 194, 400, 89, 25);
        next->setDefault(true);
        auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
        cancel->setGeometry(cw - 97, 400, 89, 25);
        email_->setFocus();
        connect(browse, &QPushButton::clicked, this, [this] {
            const QString dir = QFileDialog::getExistingDirectory(
                this, QStringLiteral("Choose destination folder"));
            if (!dir.isEmpty())
                destBox_->setText(QDir(dir).filePath(QString::fromStdString(log_.folderName)) +
                                  QStringLiteral("/"));
        });
        connect(cancel, &QPushButton::clicked, this, [this] {
            if (QMessageBox::question(this, QStringLiteral("Quit program"),
                                      QStringLiteral("Do you really want to quit the program?")) ==
                QMessageBox::Yes)
                QApplication::quit();
        });
        connect(next, &QPushButton::clicked, this, [this] { install(); });
    }

    void install() {
        Options o;
        o.source = sourceBox_->text().toStdString();
        o.destination = destBox_->text().left(255).toStdString();
        o.email = email_->text().left(255).toStdString();
        o.desktopShortcut = desktop_->isChecked();
        o.startProgram = start_->isChecked();
        hide();
        ProgressWindow progress(this);
        if (const QScreen* s = QGuiApplication::primaryScreen())
            progress.move(s->size().width() / 2 - 260, s->size().height() / 2 - 180);
        progress.show();
        QApplication::processEvents();
        RunInstallation(log_, o, places_, progress);
        QApplication::quit();
    }

private:
    InstallLog log_;
    Places places_;
    QLineEdit* sourceBox_;
    QLineEdit* destBox_;
    QLineEdit* email_;
    QCheckBox* desktop_;
    QCheckBox* start_;
};

} // namespace

int main(int argc, char** argv) {
    const bool silent = argc > 1 && std::string(argv[1]) == "-silent";
    const std::string source = [&] {
        std::string self = argv[0];
        char buf[4096];
        const ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
        if (n > 0)
            self.assign(buf, std::size_t(n));
        const auto slash = self.find_last_of('/');
        return slash == std::string::npos ? std::string("./") : self.substr(0, slash + 1);
    }();
    InstallLog log;
    const bool ok = ReadInstallLogFile(source + "Install.log", log);
    const Places places = detectPlaces();
    if (silent) {
        if (!ok) {
            std::cerr << "The file Install.log is corrupted! The installation can not be done!\n";
            return 1;
        }
        Options o;
        o.source = source;
        o.destination = defaultDestination(log, places);
        o.silent = true;
        StderrUi ui;
        RunInstallation(log, o, places, ui);
        return 0;
    }
    QApplication app(argc, argv);
    if (!ok) {
        QMessageBox::information(
            nullptr, QStringLiteral("Installation canceled!"),
            QStringLiteral("The file Install.log is corrupted! The installation can not be done!"));
        return 1;
    }
    MainWindow window(log, places, source);
    if (const QScreen* s = QGuiApplication::primaryScreen())
        window.move((s->size().width() - 512) / 2, (s->size().height() - 360) / 2);
    window.show();
    return app.exec();
}
