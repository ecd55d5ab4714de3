#include "dxf/dxf.h"

#include "support/elements.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <sstream>
#include <unistd.h>

namespace pm {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find("\r\n", start);
        EXPECT_NE(end, std::string::npos) << "every line ends with CR LF";
        if (end == std::string::npos)
            break;
        out.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return out;
}

TEST(DxfNumber, ShortestFormWithFifteenDigits) {
    const struct {
        double v;
        const char* text;
    } cases[] = {{1, "1"},
                 {0.5, "0.5"},
                 {-2.25, "-2.25"},
                 {100.0 / 72, "1.38888888888889"},
                 {0.0001, "0.0001"},
                 {0.00001, "1E-5"},
                 {1.5e20, "1.5E20"},
                 {0, "0"},
                 {-0.0, "0"},
                 {123456789012345.0, "123456789012345"},
                 {1e14, "100000000000000"},
                 {1e15, "1E15"},
                 {-1.0 / 72, "-0.0138888888888889"}};
    for (const auto& c : cases)
        EXPECT_EQ(dxfnumber(c.v), c.text) << c.v;
}

TEST(Dxf, EmptyDrawingIsTheHeaderAndTheEnd) {
    ElementList list;
    test::addElement(list, typRechteck, {0, 0}, {10, 10});
    test::addElement(list, typAbstand, {0, 0}, {10, 10});
    test::addElement(list, typText, {0, 0}, {10, 10});
    const auto l = lines(dxfDocument(list, 4));
    ASSERT_EQ(l.size(), 54u);
    EXPECT_EQ(l[0], " 0");
    EXPECT_EQ(l[17], "Ausgezogenen Linie");
    EXPECT_EQ(l[49], "ENTITIES");
    EXPECT_EQ((std::vector<std::string>(l.end() - 4, l.end())),
              (std::vector<std::string>{"  0", "ENDSEC", "  0", "EOF"}));
}

TEST(Dxf, ChainedLinesShareOnePolyline) {
    ElementList list;
    test::addElement(list, typLine, {72, 144}, {144, 72});
    test::addElement(list, typLine, {144, 72}, {216, 72});
    test::addElement(list, typLine, {216.0000001, 72}, {0, 0});
    const auto l = lines(dxfDocument(list, 4));
    const std::vector<std::string> first(l.begin() + 50, l.begin() + 56 + 15);
    EXPECT_EQ(first, (std::vector<std::string>{
                         "0", "POLYLINE", "8",  "0",  "66", "1", "0",      "VERTEX", "8", "0", "10",
                         "1", "20",       "-2", "42", "0",  "0", "VERTEX", "8",      "0", "10"}));
    int polylines = 0, seqends = 0, vertices = 0;
    for (const auto& s : l) {
        polylines += s == "POLYLINE";
        seqends += s == "SEQEND";
        vertices += s == "VERTEX";
    }
    EXPECT_EQ(polylines, 2);
    EXPECT_EQ(seqends, 2);
    EXPECT_EQ(vertices, 6);
}

struct Vertex {
    double x, y, bulge;
};
using Polylines = std::vector<std::vector<Vertex>>;

// Reads the file back with ezdxf, an independent reader.
Polylines readBack(const std::string& file) {
    const std::string cmd =
        "/usr/bin/python3 " PICMETRA_TESTS_DIR "/dxf/read_dxf.py '" + file + "' 2>&1";
    std::unique_ptr<FILE, int (*)(FILE*)> p(popen(cmd.c_str(), "r"), pclose);
    std::string out;
    std::array<char, 4096> buf;
    while (p && std::fgets(buf.data(), int(buf.size()), p.get()))
        out += buf.data();
    Polylines result;
    std::istringstream in(out);
    std::string word;
    while (in >> word) {
        if (word == "ENTITY") {
            std::string type, layer;
            in >> type >> layer;
            EXPECT_EQ(type, "POLYLINE") << out;
            EXPECT_EQ(layer, "0");
            result.emplace_back();
        } else if (word == "V") {
            Vertex v{};
            in >> v.x >> v.y >> v.bulge;
            if (!result.empty())
                result.back().push_back(v);
        } else {
            ADD_FAILURE() << "ezdxf said: " << out;
            break;
        }
    }
    return result;
}

class DxfFile : public testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("picmetra-dxf-" + std::to_string(getpid()));
        fs::create_directories(dir);
        file = (dir / "out.dxf").string();
    }
    void TearDown() override { fs::remove_all(dir); }
    fs::path dir;
    std::string file;
};

TEST_F(DxfFile, QuarterCircleBecomesArcsWithPositiveBulgesCounterClockwise) {
    // A quarter circle of radius 72 pixels as a cubic, running counter-clockwise in DXF
    // coordinates (Y up): from (72, 0) to (0, -72) in picture pixels.
    const double k = 0.5522847498 * 72;
    for (int n : {1, 4}) {
        ElementList list;
        test::addElement(list, typCubicCurve, {72, 0}, {0, -72}, {72, -k}, {k, -72});
        ASSERT_TRUE(savedxfArc(file, list, n));
        const Polylines p = readBack(file);
        ASSERT_EQ(p.size(), 1u);
        ASSERT_EQ(p[0].size(), std::size_t(2 * n));
        for (const Vertex& v : p[0]) {
            EXPECT_GT(v.bulge, 0);
            EXPECT_NEAR(std::hypot(v.x, v.y), 1, 1e-3); // on the unit circle
        }
        // n arcs of about 90/n degrees: bulge = tan(angle / 4), in steps of 0.001 (the cubic
        // is not exactly a circle, nor its parameter exactly the angle).
        EXPECT_NEAR(p[0][0].bulge, std::tan(3.14159265358979323846 / 2 / n / 4), 0.01);
        EXPECT_NEAR(p[0][0].bulge * 1000, std::round(p[0][0].bulge * 1000), 1e-6);
        EXPECT_NEAR(p[0][0].x, 1, 1e-12);
        EXPECT_NEAR(p[0].back().y, 1, 1e-12);
    }
    ElementList reverse; // the other way round: negative bulges
    test::addElement(reverse, typCubicCurve, {0, -72}, {72, 0}, {k, -72}, {72, -k});
    ASSERT_TRUE(savedxfArc(file, reverse, 2));
    const Polylines back = readBack(file);
    ASSERT_EQ(back.size(), 1u);
    for (const Vertex& v : back[0])
        EXPECT_LT(v.bulge, 0);
}

TEST_F(DxfFile, StraightCurvesAndFlatEllipsesAreStraightSegments) {
    ElementList list;
    test::addElement(list, typCubicCurve, {0, 0}, {300, 0}, {100, 0}, {200, 0});
    test::addElement(list, typEllipse, {0, 50}, {100, 50}); // zero height
    test::addElement(list, typEllipse, {20, 10}, {20, 90}); // zero width: no direction for its axis
    test::addElement(list, typEllipse, {0, 0}, {144, 72});
    ASSERT_TRUE(savedxfArc(file, list, 3));
    const Polylines p = readBack(file);
    ASSERT_EQ(p.size(), 4u);
    EXPECT_EQ(p[0].size(), 6u);
    for (int i : {0, 1, 2})
        for (const Vertex& v : p[std::size_t(i)]) {
            EXPECT_EQ(v.bulge, 0) << i;
            EXPECT_TRUE(std::isfinite(v.x) && std::isfinite(v.y));
        }
    EXPECT_EQ(p[1].size(), 2u * 16 * 3);
    EXPECT_EQ(p[2].size(), 2u * 16 * 3);
    // The ellipse starts at the middle of its box edge at the first corner's y and stays on
    // the ellipse x^2/1 + y^2/0.25 = 1 around its centre (1, -0.5).
    EXPECT_NEAR(p[3][0].x, 1, 1e-12);
    EXPECT_NEAR(p[3][0].y, 0, 1e-12);
    for (const Vertex& v : p[3]) {
        const double dx = v.x - 1, dy = v.y + 0.5;
        EXPECT_NEAR(dx * dx + dy * dy / 0.25, 1, 0.01);
        EXPECT_NE(v.bulge, 0);
    }
}

TEST_F(DxfFile, FileThatCannotBeCreatedIsReported) {
    ElementList list;
    EXPECT_FALSE(savedxfArc((dir / "no" / "such.dxf").string(), list, 4));
}

} // namespace
} // namespace pm
