#include "support/fakes.h"
#include "translate/translations.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace pm {
namespace {

namespace fs = std::filesystem;

// Builds translate.dat bytes.
struct DatWriter {
    std::string bytes;
    DatWriter& i32(std::int32_t v) {
        for (int k = 0; k < 4; ++k)
            bytes.push_back(char(std::uint32_t(v) >> (8 * k) & 0xFF));
        return *this;
    }
    DatWriter& str(std::u16string_view s) {
        i32(std::int32_t(s.size()));
        for (char16_t c : s) {
            bytes.push_back(char(c & 0xFF));
            bytes.push_back(char(c >> 8));
        }
        return *this;
    }
    // A row of `columns` texts, the given ones first.
    DatWriter& row(int columns, std::initializer_list<std::u16string_view> texts) {
        int c = 0;
        for (auto t : texts)
            str(t), ++c;
        for (; c < columns; ++c)
            str(u"");
        return *this;
    }
};

class TranslationFile : public testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("picmetra-tr-" + std::to_string(getpid()) + "-" +
               testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
        file = (dir / "translate.dat").string();
    }
    void TearDown() override { fs::remove_all(dir); }

    void write(const std::string& bytes) { std::ofstream(file, std::ios::binary) << bytes; }
    std::string read() {
        std::ifstream in(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    void load(Translator& t, const DatWriter& w) {
        write(w.bytes);
        t.InitTranslations(file);
    }
    DatWriter neuNew() {
        DatWriter w;
        w.i32(30).i32(3);
        w.row(30, {u"Neu", u"New"});
        w.row(30, {u"Abstand", u" Distance\t"});
        w.row(30, {u"Strecke"});
        return w;
    }

    fs::path dir;
    std::string file;
    test::FakeMessages msgs;
};

TEST_F(TranslationFile, LookupKeepsTheSourceBlanksAroundTheTrimmedTranslation) {
    Translator t(&msgs);
    load(t, neuNew());
    const std::string before = read();
    EXPECT_EQ(t.TranslateText(u"  Neu "), u"  Neu "); // German: the text itself
    t.setLanguage(1);
    const struct {
        std::u16string_view in, out;
    } cases[] = {
        {u"  Neu ", u"  New "},
        {u"Neu", u"New"},
        {u"Abstand ", u"Distance "}, // stored with a leading blank and a trailing tab
        {u"Strecke", u"Strecke"},    // no English text
        {u"", u""},
        {u"   ", u"   "},
    };
    for (const auto& c : cases)
        EXPECT_EQ(t.TranslateText(c.in), c.out) << toUtf8(c.in);
    EXPECT_EQ(read(), before); // nothing new was met
    EXPECT_TRUE(msgs.shown.empty());
}

TEST_F(TranslationFile, NewTextIsAddedAsLastRowAndFileRewritten) {
    Translator t(&msgs);
    load(t, neuNew());
    t.setLanguage(1);
    EXPECT_EQ(t.TranslateText(u" Zeige Bild "), u" Zeige Bild ");
    EXPECT_EQ(t.rowCount(), 4);
    EXPECT_EQ(t.cell(3, 0), u"Zeige Bild");

    DatWriter tail;
    tail.row(30, {u"Zeige Bild"});
    std::string want = neuNew().bytes;
    want.replace(4, 4, DatWriter().i32(4).bytes);
    want += tail.bytes;
    EXPECT_EQ(read(), want);

    // Found now, in the reloaded table too.
    Translator again(&msgs);
    again.InitTranslations(file);
    again.setLanguage(1);
    EXPECT_EQ(again.rowCount(), 4);
    EXPECT_EQ(again.TranslateText(u"Neu"), u"New");
    EXPECT_EQ(read(), want);
}

TEST_F(TranslationFile, ColumnCountsOtherThanThirty) {
    Translator narrow(&msgs);
    DatWriter two;
    two.i32(2).i32(1).row(2, {u"Neu", u"New"});
    load(narrow, two);
    narrow.setLanguage(1);
    EXPECT_EQ(narrow.TranslateText(u"Neu"), u"New");
    EXPECT_EQ(narrow.cell(0, 2), u"");

    Translator wide(&msgs);
    DatWriter w;
    w.i32(31).i32(2);
    w.row(31, {u"Neu", u"New"});
    w.bytes.resize(w.bytes.size() - 4);
    w.str(u"dropped");
    w.row(31, {u"Abstand", u"Distance"});
    load(wide, w);
    EXPECT_EQ(wide.rowCount(), 2);
    EXPECT_EQ(wide.cell(1, 1), u"Distance");
    EXPECT_TRUE(msgs.shown.empty());
}

TEST_F(TranslationFile, DuplicateGermanTextUsesFirstEntryOfSortedBucket) {
    Translator t(&msgs);
    DatWriter w;
    w.i32(30).i32(2).row(30, {u"Neu", u"A"}).row(30, {u"Neu", u"B"});
    load(t, w);
    t.setLanguage(1);
    // The quicksort swaps the two equal keys, so the second row comes first.
    EXPECT_EQ(t.TranslateText(u"Neu"), u"B");
}

TEST_F(TranslationFile, CorruptFilesKeepCompleteRowsAndSaySo) {
    const DatWriter good = neuNew();
    auto cut = [&](std::size_t n) { return good.bytes.substr(0, n); };
    const struct {
        const char* what;
        std::string bytes;
        int rows;
    } cases[] = {
        {"ends inside the second row", cut(8 + 30 * 4 + 6 + 6 + 40), 1},
        {"ends inside a text", cut(8 + 4 + 3), 0},
        {"negative text length", DatWriter().i32(30).i32(1).i32(-5).bytes, 0},
        {"negative row count", DatWriter().i32(30).i32(-1).bytes, 0},
        {"negative column count", DatWriter().i32(-3).i32(1).bytes, 0},
        {"huge row count", DatWriter().i32(30).i32(0x7fffffff).row(30, {u"Neu", u"New"}).bytes, 1},
        {"rows without columns", DatWriter().i32(0).i32(0x7fffffff).bytes, 0},
        {"huge text length", DatWriter().i32(1).i32(1).i32(0x7fffffff).i32(0).bytes, 0},
        {"shorter than its counts", std::string("\x1e\x00\x00", 3), 0},
    };
    for (const auto& c : cases) {
        test::FakeMessages m;
        Translator t(&m);
        write(c.bytes);
        t.InitTranslations(file);
        EXPECT_EQ(t.rowCount(), c.rows) << c.what;
        ASSERT_EQ(m.shown.size(), 1u) << c.what;
        EXPECT_EQ(m.shown[0].text, "The file translation.dat has been corrupted.");
        EXPECT_EQ(m.shown[0].caption, "");
        EXPECT_EQ(m.shown[0].icon, MsgIcon::Error);
        if (c.rows == 1) {
            t.setLanguage(1);
            EXPECT_EQ(t.TranslateText(u"Neu"), u"New") << c.what;
        }
    }
}

TEST_F(TranslationFile, MissingFileStartsEmptyAndSilently) {
    Translator t(&msgs);
    t.InitTranslations((dir / "nothing-here.dat").string());
    EXPECT_EQ(t.rowCount(), 0);
    EXPECT_EQ(t.GetMessageText(3), u"Pixel");
    EXPECT_TRUE(msgs.shown.empty());
    EXPECT_TRUE(fs::exists(dir / "nothing-here.dat")); // the new text was collected
}

TEST_F(TranslationFile, FailedRewriteKeepsThePreviousFile) {
    Translator t(&msgs);
    load(t, neuNew());
    const std::string before = read();
    fs::create_directory(file + ".tmp"); // the temporary file cannot be created
    EXPECT_FALSE(t.SaveTranslations());
    EXPECT_EQ(t.TranslateText(u"Linien Neu"), u"Linien Neu"); // kept in memory
    EXPECT_EQ(t.rowCount(), 4);
    EXPECT_EQ(read(), before);
    EXPECT_TRUE(msgs.shown.empty());

    Translator nowhere(&msgs);
    nowhere.InitTranslations((dir / "missing-folder" / "translate.dat").string());
    EXPECT_EQ(nowhere.TranslateText(u"Neu"), u"Neu");
    EXPECT_EQ(nowhere.rowCount(), 1);
}

TEST_F(TranslationFile, MessagesAreTranslatedAndRegistered) {
    Translator t(&msgs);
    DatWriter w;
    w.i32(30).i32(1).row(30, {u"Konnte das Bild nicht laden.", u"Could not load the picture."});
    load(t, w);
    EXPECT_EQ(t.GetMessageText(5), u"Konnte das Bild nicht laden.");
    t.setLanguage(1);
    EXPECT_EQ(t.GetMessageText(5), u"Could not load the picture.");
    for (int n : {0, 4, 10, 28, -1})
        EXPECT_EQ(t.GetMessageText(n), u"") << n;
    t.RegisterMessages();
    EXPECT_EQ(t.rowCount(), 21); // every message with a text, each once
    EXPECT_EQ(t.cell(20, 0), u"Suchen");
}

} // namespace
} // namespace pm
