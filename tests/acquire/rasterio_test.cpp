#include "acquire/rasterio.h"

#include <QColor>
#include <QImage>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace pm {
namespace {

namespace fs = std::filesystem;

class OpenDibTest : public testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("picmetra-raster-" + std::to_string(getpid()));
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string path(const std::string& name) { return (dir / name).string(); }

    // 3 x 2 blocks of 16 pixels (JPEG needs room): top row red, green, blue; bottom row
    // white, black, grey.
    static constexpr int kBlock = 16;
    QImage sample(QImage::Format f = QImage::Format_RGB32) {
        QImage img(3 * kBlock, 2 * kBlock, QImage::Format_RGB32);
        const QRgb px[2][3] = {{qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255)},
                               {qRgb(255, 255, 255), qRgb(0, 0, 0), qRgb(128, 128, 128)}};
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                img.setPixel(x, y, px[y / kBlock][x / kBlock]);
        return img.convertToFormat(f);
    }
    fs::path dir;
};

void expectNear(std::uint32_t got, QRgb want, int tol, const std::string& what) {
    EXPECT_NEAR(int(got >> 16 & 0xFF), qRed(want), tol) << what;
    EXPECT_NEAR(int(got >> 8 & 0xFF), qGreen(want), tol) << what;
    EXPECT_NEAR(int(got & 0xFF), qBlue(want), tol) << what;
}

TEST_F(OpenDibTest, EveryInstalledFormatDecodesToTheRightDepthAndColours) {
    const struct {
        const char* file;
        QImage::Format format;
        int bits;
        int tolerance;
    } cases[] = {
        {"rgb.png", QImage::Format_RGB32, 24, 0},
        {"rgb.bmp", QImage::Format_RGB32, 24, 0},
        {"rgb.ppm", QImage::Format_RGB32, 24, 0},
        {"rgb.tif", QImage::Format_RGB32, 24, 0},
        {"rgb.webp", QImage::Format_RGB32, 24, 0}, // Qt writes WebP lossless at quality 100
        {"rgb.jpg", QImage::Format_RGB32, 24, 8},
        {"gray.jpg", QImage::Format_Grayscale8, 8, 8},
        {"deep.png", QImage::Format_RGBA64, 24, 0},
        {"palette.bmp", QImage::Format_Indexed8, 8, 0},
        {"palette.png", QImage::Format_Indexed8, 4, 0}, // six colours fit in 4 bits
        {"gray.pgm", QImage::Format_Grayscale8, 8, 0},
    };
    for (const auto& c : cases) {
        QImage img = sample(c.format);
        if (std::string(c.file) == "palette.bmp")
            img.setColorCount(256); // more than 16 colours: 8 bits
        ASSERT_TRUE(img.save(QString::fromStdString(path(c.file)), nullptr, 100)) << c.file;
        dib d;
        OpenDib(d, path(c.file));
        ASSERT_NE(d.poi, nullptr) << c.file;
        EXPECT_EQ(dibbitcount(d), c.bits) << c.file;
        EXPECT_EQ(dibwidth(d), 3 * kBlock);
        EXPECT_EQ(dibheight(d), 2 * kBlock);
        const QImage ref = sample(c.format).convertToFormat(QImage::Format_RGB32);
        for (int y = kBlock / 2; y < ref.height(); y += kBlock)
            for (int x = kBlock / 2; x < ref.width(); x += kBlock)
                expectNear(getcolor(d, x, y), ref.pixel(x, y), c.tolerance,
                           std::string(c.file) + " " + std::to_string(x) + "," + std::to_string(y));
        freedib(d);
    }
}

TEST_F(OpenDibTest, BlackAndWhiteStaysOneBitWithItsPalette) {
    QImage img(10, 3, QImage::Format_Mono);
    img.setColor(0, qRgb(255, 255, 255));
    img.setColor(1, qRgb(0, 0, 128));
    img.fill(0);
    img.setPixel(9, 0, 1);
    ASSERT_TRUE(img.save(QString::fromStdString(path("mono.bmp"))));
    dib d;
    OpenDib(d, path("mono.bmp"));
    ASSERT_NE(d.poi, nullptr);
    EXPECT_EQ(dibbitcount(d), 1);
    EXPECT_EQ(getcolor(d, 9, 0), 0x000080u);
    EXPECT_EQ(getcolor(d, 8, 0), 0xFFFFFFu);
    EXPECT_EQ(getcolor(d, 9, 2), 0xFFFFFFu);
    freedib(d);
}

TEST_F(OpenDibTest, GifWithTransparentPaletteEntry) {
    // 1 x 1, black and white, the black entry transparent (Qt cannot write GIFs).
    const std::string gif("GIF89a\x01\x00\x01\x00\x80\x00\x00\x00\x00\x00\xff\xff\xff"
                          "!\xf9\x04\x01\x00\x00\x00\x00,\x00\x00\x00\x00\x01\x00\x01"
                          "\x00\x00\x02\x02D\x01\x00;",
                          43);
    std::ofstream(path("dot.gif"), std::ios::binary) << gif;
    dib d;
    OpenDib(d, path("dot.gif"));
    ASSERT_NE(d.poi, nullptr);
    EXPECT_EQ(dibbitcount(d), 24);           // Qt's GIF reader gives true colour
    EXPECT_EQ(getcolor(d, 0, 0), 0xFFFFFFu); // black, but transparent: white paper
    freedib(d);
}

TEST_F(OpenDibTest, TransparencyIsCompositedOnWhite) {
    QImage img(2, 1, QImage::Format_ARGB32);
    img.setPixel(0, 0, qRgba(255, 0, 0, 128));
    img.setPixel(1, 0, qRgba(0, 0, 0, 0));
    ASSERT_TRUE(img.save(QString::fromStdString(path("alpha.png"))));
    dib d;
    OpenDib(d, path("alpha.png"));
    ASSERT_NE(d.poi, nullptr);
    EXPECT_EQ(dibbitcount(d), 24);
    expectNear(getcolor(d, 0, 0), qRgb(255, 127, 127), 1, "half red");
    EXPECT_EQ(getcolor(d, 1, 0), 0xFFFFFFu);
    freedib(d);
}

std::uint32_t crc32(const std::string& s) {
    std::uint32_t c = 0xFFFFFFFF;
    for (unsigned char b : s) {
        c ^= b;
        for (int k = 0; k < 8; ++k)
            c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1)));
    }
    return ~c;
}

std::string be32(std::uint32_t v) {
    return {char(v >> 24), char(v >> 16 & 0xFF), char(v >> 8 & 0xFF), char(v & 0xFF)};
}

TEST_F(OpenDibTest, BadFilesGiveNoPictureAndNoCrash) {
    QImage img = sample();
    ASSERT_TRUE(img.save(QString::fromStdString(path("whole.png"))));
    std::string png;
    {
        std::ifstream in(path("whole.png"), std::ios::binary);
        png.assign(std::istreambuf_iterator<char>(in), {});
    }
    // A header that announces 40000 x 40000 pixels.
    const std::string ihdr = "IHDR" + be32(40000) + be32(40000) + std::string("\x08\x02\0\0\0", 5);
    const std::string huge = png.substr(0, 8) + be32(13) + ihdr + be32(crc32(ihdr));

    ASSERT_TRUE(sample().save(QString::fromStdString(path("whole.jpg")), "JPEG", 90));
    std::string jpg;
    {
        std::ifstream in(path("whole.jpg"), std::ios::binary);
        jpg.assign(std::istreambuf_iterator<char>(in), {});
    }
    const struct {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"empty.png", ""},
        {"truncated.jpg", jpg.substr(0, jpg.size() / 2)},
        {"header-only.jpg", jpg.substr(0, 200)},
        {"broken.jpg", jpg.substr(0, 300) + std::string(400, '\x00')},
        {"truncated.png", png.substr(0, png.size() / 2)},
        {"garbage.jpg", std::string(500, '\x5a')},
        {"header-only.bmp", std::string("BM\x10\0\0\0", 6)},
        {"huge.png", huge},
    };
    for (const auto& c : cases) {
        std::ofstream(path(c.name), std::ios::binary) << c.bytes;
        dib d;
        OpenDib(d, path(c.name));
        EXPECT_EQ(d.poi, nullptr) << c.name;
        EXPECT_EQ(d.pmi, nullptr) << c.name;
    }
    dib d;
    OpenDib(d, path("does-not-exist.png"));
    EXPECT_EQ(d.poi, nullptr);
}

TEST(OpenFilter, ListsWhatTheInstalledReadersRead) {
    const std::string filter = GetDIBOpenFilter();
    EXPECT_EQ(filter.rfind("Alle Bilder|", 0), 0u);
    for (const char* pattern : {"*.bmp", "*.png", "*.jpg", "*.jpeg", "*.gif", "*.pbm", "*.pgm",
                                "*.ppm", "*.tif", "*.tiff", "*.webp"})
        EXPECT_NE(filter.find(pattern), std::string::npos) << pattern;
    // Pairs of description and patterns.
    EXPECT_EQ(std::count(filter.begin(), filter.end(), '|') % 2, 1);
}

} // namespace
} // namespace pm
