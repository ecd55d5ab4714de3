#include "acquire/rasterio.h"
#include "model/document.h"
#include "model/text.h"
#include "results/projectfile.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace pm {
namespace {

namespace fs = std::filesystem;

std::int32_t le32(const std::string& b, std::size_t at) {
    return getLE32(reinterpret_cast<const unsigned char*>(b.data()) + at);
}

TEST(ProjectFile, OneDistanceOverTheStartPictureIsExactly307501Bytes) {
    Document doc;
    Telemente* d = doc.elemente.append();
    d->typ = typAbstand;
    d->x1 = 1.5;
    d->selected = true;
    d->dragit3 = true;
    ProjectSettings s;
    const std::string b = projectBytes(doc.elemente, doc.di, s);
    ASSERT_EQ(b.size(), 307501u);
    EXPECT_EQ(le32(b, 0), 1);
    EXPECT_EQ(le32(b, 4 + 8), typAbstand);
    double x1;
    std::memcpy(&x1, b.data() + 4 + 36, 8);
    EXPECT_EQ(x1, 1.5);
    EXPECT_EQ(b[4 + 166], 1);       // selected
    EXPECT_EQ(b[4 + 169], 1);       // dragit3
    EXPECT_EQ(le32(b, 4 + 171), 0); // the two pointer places
    EXPECT_EQ(le32(b, 4 + 175), 0);
    EXPECT_EQ(le32(b, 4 + 179), 0); // no vertices
    EXPECT_EQ(le32(b, 4 + 183), 0); // empty label
    const std::size_t pic = 4 + 187;
    EXPECT_EQ(le32(b, pic), 40);
    EXPECT_EQ(le32(b, pic + 4), 0);
    EXPECT_EQ(le32(b, pic + 8 + 4), 320);
    const std::size_t tail = pic + 8 + 40 + 320 * 960;
    EXPECT_EQ(le32(b, tail), 0x0000FF); // red as 0x00BBGGRR
    EXPECT_EQ(b[tail + 4 + 16], 1);     // "Anzeigen"
    EXPECT_EQ(b[tail + 4 + 16 + 2], 0); // "Schrift umranden"
    const std::size_t font = tail + 4 + 8 + 8 + 6 + 8;
    EXPECT_EQ(b[font + 5], 6);                     // "Tahoma"
    EXPECT_EQ(le32(b, font + 6 + 12 + 1 + 4), 11); // 15 pixels at 96 per inch: 11 points
}

TEST(ProjectFile, PalettePicturesWriteTheirColourTable) {
    for (int bits : {1, 4, 8}) {
        Document doc;
        dib p;
        std::uint8_t info[kInfoHeaderSize + 1024] = {};
        newdib(p, 3, 2, bits, info, 0);
        doc.replacePicture(p);
        const std::string b = projectBytes(doc.elemente, doc.di, ProjectSettings{});
        EXPECT_EQ(le32(b, 0), 0); // no elements: four zero bytes first
        EXPECT_EQ(le32(b, 4), 40 + 4 * (1 << bits));
        EXPECT_EQ(le32(b, 8), 1 << bits);
    }
}

class ProjectFiles : public testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("picmetra-ver-" + std::to_string(getpid()));
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string path(const char* name) { return (dir / name).string(); }
    fs::path dir;
};

// A document with every kind of content, over a picture of the given depth.
void fill(Document& doc, int bits, ProjectSettings& s) {
    std::uint8_t info[kInfoHeaderSize + 1024] = {};
    for (int i = 0; i < 256; ++i)
        info[kInfoHeaderSize + 4 * i + 1] = std::uint8_t(255 - i);
    dib p;
    newdib(p, 7, 5, bits, info, 256);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x)
            setpixel(p, x, y,
                     std::uint32_t(x * 31 + y * 7) & (bits == 24 ? 0xFFFFFFu : (1u << bits) - 1));
    doc.replacePicture(p);
    Telemente* poly = doc.elemente.append();
    poly->typ = typPolygon;
    for (int k = 0; k < 5; ++k)
        doc.elemente.appendVertex(*poly, k * 1.25, -k * 3.5);
    storename(poly->name, std::u16string(300, u'ß'));
    Telemente* d = doc.elemente.append();
    d->typ = typAbstand;
    d->x1 = 0.1;
    d->y3 = 1e-300;
    d->x4 = 35;
    d->selected = true;
    d->closed = true;
    d->nr = 3;
    d->dragvertnr = -7;
    storename(d->name, u"");
    s.color = {1, 2, 3};
    s.lineWidth = 0.7;
    s.arrowLength = 12.25;
    s.options = {false, false, true, true, false, true};
    s.zoom = 250;
    s.font.face = u"DejaVu Serif";
    s.font.height = -21;
    s.font.color = {0, 128, 255};
    s.font.bold = true;
    s.font.strikeout = true;
    s.font.charset = 0;
    s.font.pitch = 2;
}

TEST_F(ProjectFiles, SavedAndReopenedReproducesEverythingAtEveryDepth) {
    for (int bits : {1, 4, 8, 24}) {
        Document doc;
        ProjectSettings s;
        fill(doc, bits, s);
        ASSERT_TRUE(saveprojekt(path("p.ver"), doc.elemente, doc.di, s)) << bits;
        ProjectData back;
        ASSERT_EQ(readProject(path("p.ver"), back), ReadResult::Ok) << bits;
        Document reopened;
        ASSERT_TRUE(takeElements(back, reopened.elemente));
        reopened.replacePicture(back.picture);
        // Writing the reopened document again gives the same bytes.
        EXPECT_EQ(projectBytes(reopened.elemente, reopened.di, back.settings),
                  projectBytes(doc.elemente, doc.di, s))
            << bits;
        EXPECT_EQ(labelOf(reopened.elemente.at(0)).size(), 300u);
        EXPECT_EQ(reopened.elemente.at(1).y3, 1e-300);
        EXPECT_NE(reopened.elemente.at(1).name, nullptr);
        EXPECT_EQ(back.settings.font.face, u"DejaVu Serif");
        EXPECT_EQ(back.settings.font.height, -21);
        EXPECT_TRUE(back.settings.font.bold);
        EXPECT_FALSE(back.settings.font.italic);
        EXPECT_EQ(back.settings.options, s.options);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 7; ++x)
                ASSERT_EQ(getcolor(reopened.di, x, y), getcolor(doc.di, x, y)) << bits;
    }
}

TEST_F(ProjectFiles, EveryDamagedFileIsRefused) {
    Document doc;
    ProjectSettings s;
    fill(doc, 8, s);
    const std::string good = projectBytes(doc.elemente, doc.di, s);
    auto parse = [](const std::string& b) {
        ProjectData d;
        return parseProject(reinterpret_cast<const unsigned char*>(b.data()), b.size(), d);
    };
    ASSERT_EQ(parse(good), ReadResult::Ok);
    // Every shortened file.
    for (std::size_t n = 0; n < good.size(); ++n)
        ASSERT_EQ(parse(good.substr(0, n)), ReadResult::Damaged) << n;
    // Forged counts and impossible pictures.
    auto forged = [&](std::size_t at, std::int32_t v) {
        std::string b = good;
        unsigned char le[4];
        putLE32(le, v);
        std::memcpy(b.data() + at, le, 4);
        return b;
    };
    const std::size_t firstV = 4 + 179;
    const std::size_t pic = good.size() - (4 + 8 + 8 + 6 + 8 + 6 + 2 * 12 + 10) - 1064 - 8 - 8 * 5;
    const struct {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"huge element count", forged(0, 0x7fffffff)},
        {"negative element count", forged(0, -1)},
        {"huge vertex count", forged(firstV, 0x10000000)},
        {"negative vertex count", forged(firstV, -3)},
        {"huge label", forged(firstV + 4 + 80, 0x7ffffff0)},
        {"palette size that does not fit", forged(pic, 41)},
        {"negative palette count", forged(pic + 4, -256)},
        {"negative height", forged(pic + 8 + 8, -5)},
        {"picture larger than the file", forged(pic + 8 + 4, 100000)},
    };
    ASSERT_EQ(le32(good, pic), 1064);
    for (const auto& c : cases)
        EXPECT_EQ(parse(c.bytes), ReadResult::Damaged) << c.what;
    ProjectData d;
    EXPECT_EQ(readProject(path("missing.ver"), d), ReadResult::CannotOpen);
}

TEST_F(ProjectFiles, FailedSaveLeavesThePreviousProject) {
    Document doc;
    ProjectSettings s;
    std::ofstream(path("old.ver")) << "previous";
    fs::create_directory(path("old.ver.tmp"));
    EXPECT_FALSE(saveprojekt(path("old.ver"), doc.elemente, doc.di, s));
    std::ifstream in(path("old.ver"));
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "previous");
    EXPECT_FALSE(saveprojekt(path("no/such/dir.ver"), doc.elemente, doc.di, s));
}

TEST(ProjectFile, FontSizeInPointsAsTheFontDialogConverts) {
    EXPECT_EQ(fontPoints(-15, 96), 11);
    EXPECT_EQ(fontHeight(11, 96), -15);
    EXPECT_EQ(fontHeight(fontPoints(-8, 96), 96), -8);
    EXPECT_EQ(fontPoints(-15, 120), 9);
}

} // namespace
} // namespace pm
