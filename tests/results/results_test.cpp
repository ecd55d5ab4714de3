#include "drawing/render.h"
#include "model/measure.h"
#include "model/text.h"
#include "results/results.h"
#include "translate/translations.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace pm {
namespace {

namespace fs = std::filesystem;

TEST(ResultRows, OnlyMeasuredKindsInListOrder) {
    ElementList list;
    Scale scale;
    MeasureSums sums;
    for (int typ : {typRechteck, typText, typMassstab, typAbstand})
        list.append()->typ = typ;
    Telemente& d = list.at(3);
    d.x2 = 30;
    d.y2 = 40;
    d.lang = 12.5;
    d.winkel = 53.13010235415598;
    ResultRows rows;
    rows.refill(list);
    ASSERT_EQ(rows.count(), 2);
    EXPECT_EQ(resultTypeMessage(list.at(rows.elementIndex(0)).typ), 21);
    EXPECT_EQ(rows.elementIndex(1), 3);
    EXPECT_EQ(resultCell(d, colTyp, u"Abstand"), u"Abstand");
    EXPECT_EQ(resultCell(d, colBezeichnung, u""), u"");
    EXPECT_EQ(resultCell(d, colLaenge, u""), u"12.5000");
    EXPECT_EQ(resultCell(d, colFlaeche, u""), u"");
    EXPECT_EQ(resultCell(d, colWinkel, u""), u"53.1301");
    Telemente& r = list.at(0);
    r.flaeche = -90;
    EXPECT_EQ(resultCell(r, colFlaeche, u""), u"-90.0000");
    EXPECT_EQ(resultCell(r, colWinkel, u""), u"");
}

class CsvExport : public testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("picmetra-csv-" + std::to_string(getpid()));
        fs::create_directories(dir);
        file = (dir / "out.csv").string();
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string read() {
        std::ifstream in(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    fs::path dir;
    std::string file;
};

TEST_F(CsvExport, HeaderAndOneQuotedLinePerListedElement) {
    ElementList list;
    Telemente* a = list.append();
    a->typ = typAbstand;
    a->lang = 12.5;
    a->winkel = -90;
    storename(a->name, u"Wand, \"Nord\"");
    list.append()->typ = typText;
    Telemente* p = list.append();
    p->typ = typPolygon;
    p->lang = 40;
    p->flaeche = 100;
    storename(p->name, u"Küche\nneu");
    Translator tr;
    ASSERT_TRUE(writeResultsCsv(file, list, tr, u"mm"));
    EXPECT_EQ(read(), "Typ,Bezeichnung,Länge/Umfang,Flächeninhalt,Winkel,Einheit\r\n"
                      "Abstand,\"Wand, \"\"Nord\"\"\",12.5000,,-90.0000,mm\r\n"
                      "Polygon,\"Küche\nneu\",40.0000,100.0000,,mm\r\n");
}

TEST_F(CsvExport, UnwritableFileReportsFailureAndKeepsTheOldFile) {
    ElementList list;
    Translator tr;
    std::ofstream(file) << "old";
    fs::create_directory(file + ".tmp");
    EXPECT_FALSE(writeResultsCsv(file, list, tr, u"mm"));
    EXPECT_EQ(read(), "old");
    EXPECT_FALSE(writeResultsCsv((dir / "no" / "such.csv").string(), list, tr, u"mm"));
}

} // namespace
} // namespace pm
