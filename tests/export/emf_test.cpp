#include "drawing/emf.h"

#include "support/elements.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <unistd.h>

namespace pm {
namespace {

namespace fs = std::filesystem;

class EmfFile : public testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("picmetra-emf-" + std::to_string(getpid()));
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    // Writes the EMF and converts it with emf2svg, an independent reader; the SVG it made.
    std::string throughEmf2svg(const ElementList& list, int zoom, Rgb color, int width) {
        const std::string emf = (dir / "out.emf").string(), svg = (dir / "out.svg").string();
        EXPECT_TRUE(saveasemf(emf, list, zoom, color, width));
        const std::string cmd = "emf2svg-conv -i '" + emf + "' -o '" + svg + "' 2>&1";
        EXPECT_EQ(std::system(cmd.c_str()), 0);
        std::ifstream in(svg);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    static int count(const std::string& s, const std::string& what) {
        int n = 0;
        for (std::size_t at = s.find(what); at != std::string::npos; at = s.find(what, at + 1))
            ++n;
        return n;
    }
    fs::path dir;
};

TEST_F(EmfFile, LinesCurvesEllipsesAndClosingLinesAtTheZoom) {
    ElementList list;
    test::addElement(list, typLine, {10, 20}, {110, 70});
    Telemente& q = test::addElement(list, typQuadCurve, {110, 70}, {170, 70}, {140, 10});
    q.nr = 1;
    q.closed = true;
    test::addElement(list, typEllipse, {10, 20}, {30, 60});
    test::addElement(list, typCubicCurve, {0, 0}, {100, 0}, {30, 50}, {70, 50});
    test::addElement(list, typRechteck, {0, 0}, {500, 500}); // measurement kinds are not in it
    test::addElement(list, typAbstand, {0, 0}, {500, 500});
    const std::string svg = throughEmf2svg(list, 100, {0, 128, 255}, 4);
    EXPECT_NE(svg.find("M 10.0000,20.0000 L 110.0000,70.0000"), std::string::npos) << svg;
    // The quadratic curve raised to a cubic: controls 2/3 of the way to its control point.
    EXPECT_NE(svg.find("M 110.0000,70.0000 C 130.0000,30.0000 150.0000,30.0000 170.0000,70.0000"),
              std::string::npos)
        << svg;
    EXPECT_NE(svg.find("M 170.0000,70.0000 L 10.0000,20.0000"), std::string::npos)
        << svg; // closing
    EXPECT_NE(svg.find(R"(cx="20.0000" cy="40.0000" rx="10.0000" ry="20.0000" fill="none")"),
              std::string::npos)
        << svg;
    EXPECT_NE(svg.find("C 30.0000,50.0000 70.0000,50.0000 100.0000,0.0000"), std::string::npos);
    EXPECT_EQ(count(svg, R"(stroke="#0080FF" stroke-width="4.0000")"), 5);
    EXPECT_EQ(svg.find("500.0000"), std::string::npos);

    const std::string half = throughEmf2svg(list, 50, {0, 128, 255}, 2);
    EXPECT_NE(half.find(R"(cx="10.0000" cy="20.0000" rx="5.0000" ry="10.0000")"), std::string::npos)
        << half;
}

TEST_F(EmfFile, MeasurementsOnlyGiveAnEmptyMetafile) {
    ElementList list;
    test::addElement(list, typRechteck, {0, 0}, {50, 50});
    test::addElement(list, typStrecke, {0, 0}, {50, 50});
    const std::string bytes = emfDocument(list, 100, kRed, 2);
    std::uint32_t type, size, records;
    std::memcpy(&type, bytes.data(), 4);
    std::memcpy(&size, bytes.data() + 48, 4);
    std::memcpy(&records, bytes.data() + 52, 4);
    EXPECT_EQ(type, 1u);
    EXPECT_EQ(size, bytes.size());
    EXPECT_EQ(records, 7u); // header, pen, select, a move for each element, delete, end
    const std::string svg = throughEmf2svg(list, 100, kRed, 2);
    EXPECT_EQ(count(svg, "<path"), 0);
    EXPECT_EQ(count(svg, "<ellipse"), 0);
}

} // namespace
} // namespace pm
