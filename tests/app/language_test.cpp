// First show, options, stored settings, languages and the translation editor.
#include "app/mainform.h"
#include "app/qtext.h"
#include "app/translateform.h"
#include "model/options.h"
#include "support/appconfig.h"
#include "support/fakes.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>
#include <gtest/gtest.h>

namespace pm {
namespace {

class LanguageTest : public testing::Test {
protected:
    void SetUp() override {
        config = test::isolatedConfig(dir);
        config.messages = &msgs;
        config.dialogs = &dialogs;
    }
    std::string optionsFile() {
        return dir.filePath(QStringLiteral("data/Tervalo/Picmetra/options.dat")).toStdString();
    }
    void storeLanguage(int index) {
        QDir().mkpath(dir.filePath(QStringLiteral("data/Tervalo/Picmetra")));
        ASSERT_TRUE(SaveOptions(optionsFile(), index));
    }
    std::unique_ptr<TMainForm> make() {
        auto f = std::make_unique<TMainForm>(config);
        f->show();
        return f;
    }
    // A translate.dat with English for the menu "Datei" and column 3 for "Linien Neu".
    void writeTable() {
        Translator t;
        t.InitTranslations((dir.filePath(QStringLiteral("translate.dat"))).toStdString());
        t.TranslateText(u"Datei");
        t.TranslateText(u"Linien Neu");
        t.setCell(0, 1, u"File");
        t.setCell(1, 3, u"Nouveau");
        ASSERT_TRUE(t.SaveTranslations());
    }
    QString firstMenu(TMainForm& f) { return f.menuBar()->actions().first()->text(); }

    QTemporaryDir dir;
    test::FakeMessages msgs;
    test::FakeDialogs dialogs;
    AppConfig config;
};

TEST_F(LanguageTest, FirstStartWithoutOptionsComesUpInEnglish) {
    writeTable();
    auto f = make();
    EXPECT_TRUE(f->action(QStringLiteral("English1"))->isChecked());
    EXPECT_EQ(f->translator().language(), 1);
    EXPECT_EQ(firstMenu(*f), QStringLiteral("File"));
    EXPECT_FALSE(QFile::exists(QString::fromStdString(optionsFile()))); // written only on a choice
    EXPECT_EQ(f->document().scale.einh, u"Pixel");
}

TEST_F(LanguageTest, StoredLanguageDecidesAtStart) {
    writeTable();
    storeLanguage(0);
    {
        auto f = make();
        EXPECT_TRUE(f->action(QStringLiteral("Deutsch1"))->isChecked());
        EXPECT_EQ(firstMenu(*f), QStringLiteral("Datei"));
        // German: no form text is collected, only the messages.
        EXPECT_EQ(f->translator().rowCount(), 2 + 21);
    }
    storeLanguage(3);
    auto f = make();
    EXPECT_TRUE(f->action(QStringLiteral("English1"))->isChecked()); // no mark of its own
    EXPECT_EQ(f->action(QStringLiteral("Neu1"))->text(), QStringLiteral("Nouveau"));
    EXPECT_EQ(firstMenu(*f), QStringLiteral("Datei")); // column 3 has no text for it
}

TEST_F(LanguageTest, UnusableOptionsFileMeansEnglish) {
    QDir().mkpath(dir.filePath(QStringLiteral("data/Tervalo/Picmetra")));
    for (const QByteArray& bytes : {QByteArray("\x01\x00", 2), QByteArray("\x1e\x00\x00\x00", 4),
                                    QByteArray("\xff\xff\xff\xff", 4)}) {
        QFile file(QString::fromStdString(optionsFile()));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        EXPECT_FALSE(LoadOptions(optionsFile()).has_value());
        auto f = make();
        EXPECT_EQ(f->languagesetto, 1);
    }
}

TEST_F(LanguageTest, LanguageCommandsStoreTheChoiceAndAskForARestart) {
    storeLanguage(0);
    auto f = make();
    f->action(QStringLiteral("English1"))->trigger();
    EXPECT_EQ(LoadOptions(optionsFile()), 1);
    ASSERT_EQ(msgs.shown.size(), 1u);
    EXPECT_EQ(msgs.shown[0].text, "Bitte schließen Sie das Programm und starten Sie es erneut.");
    EXPECT_EQ(msgs.shown[0].caption, "Übersetzen");
    EXPECT_EQ(msgs.shown[0].icon, MsgIcon::Information);
    EXPECT_EQ(firstMenu(*f), QStringLiteral("Datei")); // the forms change at the next start
    f->action(QStringLiteral("Deutsch1"))->trigger();
    EXPECT_EQ(LoadOptions(optionsFile()), 0);
    EXPECT_EQ(f->translator().language(), 0);
    f->dontchlang = true; // while the window sets the marks itself, the commands do nothing
    f->action(QStringLiteral("English1"))->trigger();
    EXPECT_EQ(LoadOptions(optionsFile()), 0);
}

TEST_F(LanguageTest, LinienNeuAsksAndKeepsPictureAndScale) {
    storeLanguage(0);
    auto f = make();
    f->document().elemente.append()->typ = typRechteck;
    f->document().scale = {4, 1, u"m"};
    msgs.answerYes = false;
    f->action(QStringLiteral("Neu1"))->trigger();
    EXPECT_EQ(f->document().elemente.count(), 1);
    ASSERT_EQ(msgs.asked.size(), 1u);
    EXPECT_EQ(msgs.asked[0].text, "Wollen Sie wirklich neu anfangen?");
    EXPECT_EQ(msgs.asked[0].caption, "Neu");
    msgs.answerYes = true;
    f->action(QStringLiteral("Neu1"))->trigger();
    EXPECT_EQ(f->document().elemente.count(), 0);
    EXPECT_EQ(f->document().scale.mas1, 4);
    EXPECT_EQ(dibwidth(f->document().di), 320);
    EXPECT_EQ(f->ListView1->model()->rowCount(), 0);
}

TEST_F(LanguageTest, StoredPropertiesComeBackAtTheNextStart) {
    storeLanguage(0);
    {
        auto f = make();
        f->action(QStringLiteral("Ergebnisslisteanzeigen1"))->trigger();             // off
        f->action(QStringLiteral("NachMessungwiederdenZeigerauswhlen1"))->trigger(); // on
        f->ShowPicCheck->setChecked(false);
        f->labelFont.face = u"DejaVu Sans";
        f->labelFont.height = -19;
        f->labelFont.italic = true;
        f->close();
    }
    auto f = make();
    EXPECT_FALSE(f->ListView1->isVisible());
    EXPECT_TRUE(f->action(QStringLiteral("NachMessungwiederdenZeigerauswhlen1"))->isChecked());
    EXPECT_TRUE(f->action(QStringLiteral("Anzeigen1"))->isChecked());
    EXPECT_FALSE(f->ShowPicCheck->isChecked());
    EXPECT_EQ(f->labelFont.face, u"DejaVu Sans");
    EXPECT_EQ(f->labelFont.height, -19);
    EXPECT_TRUE(f->labelFont.italic);
}

class EditorTest : public testing::Test {
protected:
    void SetUp() override {
        file = dir.filePath(QStringLiteral("translate.dat")).toStdString();
        tr.InitTranslations(file);
        for (const char16_t* t : {u"Neu", u"NEU", u"Bild öffnen...", u"Über", u"neugierig"})
            tr.TranslateText(t);
        tr.RegisterMessages(); // rows 5 to 24 ("Neu" is a message too), as after the first show
        editor = std::make_unique<TTranslateForm>(tr, msgs);
        editor->FillStringGrid();
    }
    QTemporaryDir dir;
    std::string file;
    test::FakeMessages msgs;
    Translator tr;
    std::unique_ptr<TTranslateForm> editor;
};

TEST_F(EditorTest, GridShowsTheTableWithNamedColumns) {
    QTableWidget* g = editor->StringGrid1;
    EXPECT_EQ(g->rowCount(), 25);
    EXPECT_EQ(g->columnCount(), 30);
    EXPECT_EQ(g->horizontalHeaderItem(0)->text(), QStringLiteral("German"));
    EXPECT_EQ(g->horizontalHeaderItem(2)->text(), QStringLiteral("language2"));
    EXPECT_EQ(g->item(2, 0)->text(), QStringLiteral("Bild öffnen..."));
    EXPECT_EQ(g->columnWidth(5), 250);
}

TEST_F(EditorTest, EditsReachTheTableAndTheFileOneSecondLaterOrOnClosing) {
    editor->StringGrid1->item(0, 1)->setText(QStringLiteral("New"));
    EXPECT_EQ(tr.cell(0, 1), u"New");
    EXPECT_TRUE(editor->Timer1->isActive());
    EXPECT_EQ(editor->Timer1->interval(), 1000);
    Translator before;
    before.InitTranslations(file);
    EXPECT_EQ(before.cell(0, 1), u""); // not yet written
    editor->show();
    editor->BackBtn->click(); // closing saves at once
    EXPECT_FALSE(editor->Timer1->isActive());
    Translator after;
    after.InitTranslations(file);
    EXPECT_EQ(after.cell(0, 1), u"New");
}

TEST_F(EditorTest, SearchIgnoresTheCaseOfLettersAToZOnly) {
    msgs.answerYes = true;
    editor->FilterEdit->setText(QStringLiteral("neu"));
    editor->FilterBtn->click();
    // "Neu", "NEU", "neugierig" and the messages with "neu" and "erneut" in them.
    EXPECT_EQ(msgs.asked.size(), 5u);
    EXPECT_EQ(msgs.asked[0].text, "Weiter suchen?");
    EXPECT_EQ(msgs.asked[0].caption, "Suchen");
    msgs.asked.clear();
    editor->FilterEdit->setText(QStringLiteral("über"));
    editor->FilterBtn->click();
    EXPECT_TRUE(msgs.asked.empty()); // a lower-case umlaut does not find its upper case
    msgs.answerYes = false;
    editor->FilterEdit->setText(QStringLiteral("bild"));
    editor->FilterBtn->click();
    EXPECT_EQ(msgs.asked.size(), 1u); // "No" ends the search
    EXPECT_EQ(editor->StringGrid1->currentRow(), 2);
}

TEST_F(EditorTest, DeletingARowAsksAndMovesLaterRowsUp) {
    editor->StringGrid1->setCurrentCell(1, 0);
    msgs.answerYes = false;
    editor->DeleteRowBtn->click();
    EXPECT_EQ(tr.rowCount(), 25);
    EXPECT_EQ(msgs.asked.back().text, "NEU");
    EXPECT_EQ(msgs.asked.back().caption, "Wollen Sie die Zeile wirklich löschen?");
    msgs.answerYes = true;
    editor->DeleteRowBtn->click();
    EXPECT_EQ(tr.rowCount(), 24);
    EXPECT_EQ(tr.cell(1, 0), u"Bild öffnen...");
    tr.setCell(1, 1, u"Open picture...");
    tr.setLanguage(1);
    EXPECT_EQ(tr.TranslateText(u"Bild öffnen..."), u"Open picture..."); // key follows its row
    EXPECT_EQ(tr.rowCount(), 24);
    EXPECT_EQ(tr.TranslateText(u"NEU"), u"NEU"); // gone: collected again as a new last row
    EXPECT_EQ(tr.rowCount(), 25);
    Translator saved;
    saved.InitTranslations(file);
    EXPECT_EQ(saved.rowCount(), 25);
    EXPECT_EQ(editor->StringGrid1->currentRow(), 1);
}

} // namespace
} // namespace pm

namespace pm {
namespace {

// Starts in English with the shipped table, opens every form and every file dialog and runs
// the commands that show texts: nothing may be met that the table does not translate.
TEST_F(LanguageTest, EnglishCoversEveryTextTheProgramShows) {
    ASSERT_TRUE(QFile::copy(QStringLiteral(PICMETRA_TRANSLATE_DAT),
                            dir.filePath(QStringLiteral("translate.dat"))));
    test::FakeFiles files;
    config.files = &files;
    auto f = make();
    Translator& tr = f->translator();
    const int shipped = tr.rowCount();
    auto untranslated = [&] {
        QStringList missing;
        for (int r = 0; r < tr.rowCount(); ++r)
            if (tr.cell(r, 1).empty())
                missing << qs(tr.cell(r, 0));
        return missing.join(QStringLiteral(" | ")).toStdString();
    };
    EXPECT_EQ(untranslated(), "");
    EXPECT_EQ(f->windowTitle(), QStringLiteral("Tervalo Picmetra 1.0"));
    EXPECT_EQ(f->menuBar()->actions().first()->text(), QStringLiteral("File"));

    // Every dialog and command that brings a text of its own.
    files.next.clear();
    for (const char* command : {"Bildffnen1", "Projektffnen1", "Projektspeichern1",
                                "MessergebnissealsCSVDateiexportieren1"})
        f->action(QLatin1String(command))->trigger();
    files.next = dir.filePath(QStringLiteral("r.csv")).toStdString();
    f->action(QStringLiteral("MessergebnissealsCSVDateiexportieren1"))->trigger();
    files.next = dir.filePath(QStringLiteral("missing/x.ver")).toStdString();
    f->action(QStringLiteral("Projektspeichern1"))->trigger();
    QFile bad(dir.filePath(QStringLiteral("bad.ver")));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("xxxxxxxx");
    bad.close();
    files.next = bad.fileName().toStdString();
    f->action(QStringLiteral("Projektffnen1"))->trigger();
    f->action(QStringLiteral("English1"))->trigger();
    QTimer::singleShot(0, f->TranslateForm, [&] { f->TranslateForm->close(); });
    f->action(QStringLiteral("bersetzen1"))->trigger();
    for (int n = 1; n <= Translator::kMessages; ++n)
        tr.GetMessageText(n);

    EXPECT_EQ(untranslated(), "");
    EXPECT_EQ(tr.rowCount(), shipped) << "texts met that the table does not hold";
    for (const auto& m : msgs.shown)
        EXPECT_EQ(QString::fromStdString(m.text).contains(QStringLiteral("Konnte")), false)
            << m.text;
    EXPECT_EQ(files.lastCaption, "Open project");
    EXPECT_EQ(files.lastFilter, "Measurement project (*.ver)|*.ver");
}

} // namespace
} // namespace pm
