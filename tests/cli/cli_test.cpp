// picmetra-cli as a user runs it: a real process, no display.
#include "acquire/rasterio.h"
#include "model/document.h"
#include "results/projectfile.h"

#include <QImage>
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <sys/wait.h>
#include <unistd.h>

namespace pm {
namespace {

namespace fs = std::filesystem;

struct CliRun {
    int status;
    std::string out;
    std::string err;
};

class Cli : public testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("picmetra-cli-" + std::to_string(getpid()));
        fs::create_directories(dir);
        // A project like one the program saves: a 400 x 200 picture, a distance, a polygon,
        // a text label and an ellipse.
        Document doc;
        dib p;
        newdib(p, 400, 200, 24, nullptr, 0);
        doc.replacePicture(p);
        auto add = [&](int typ, double x1, double y1, double x2, double y2) -> Telemente& {
            Telemente* e = doc.elemente.append();
            e->typ = typ;
            e->x1 = x1;
            e->y1 = y1;
            e->x2 = x2;
            e->y2 = y2;
            e->x3 = x2;
            e->y3 = y2 + 20;
            return *e;
        };
        Telemente& d = add(typAbstand, 0, 0, 30, 40);
        storename(d.name, u"Giebel, Nord");
        Telemente& poly = add(typPolygon, 0, 0, 10, 0);
        for (Pt q : {Pt{0, 0}, Pt{10, 0}, Pt{10, 10}, Pt{0, 10}, Pt{0, 0}})
            doc.elemente.appendVertex(poly, q.x, q.y);
        storename(add(typText, 50, 50, 50, 50).name, u"Notiz");
        add(typEllipse, 100, 100, 172, 136);
        ProjectSettings s;
        s.zoom = 50;
        project = path("p.ver");
        ASSERT_TRUE(saveprojekt(project, doc.elemente, doc.di, s));
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string path(const char* name) { return (dir / name).string(); }

    CliRun run(const std::string& args) {
        const std::string err = path("stderr.txt");
        const std::string cmd = "env -u DISPLAY -u QT_QPA_PLATFORM -u WAYLAND_DISPLAY " PICMETRA_CLI
                                " " +
                                args + " 2>'" + err + "'";
        CliRun r{};
        std::unique_ptr<FILE, int (*)(FILE*)> p(popen(cmd.c_str(), "r"), pclose);
        std::array<char, 4096> buf;
        while (std::fgets(buf.data(), int(buf.size()), p.get()))
            r.out += buf.data();
        const int status = pclose(p.release());
        r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        std::ifstream in(err);
        r.err.assign(std::istreambuf_iterator<char>(in), {});
        return r;
    }
    fs::path dir;
    std::string project;
};

TEST_F(Cli, InfoTellsKindsPictureZoomAndOptions) {
    const CliRun r = run("info '" + project + "'");
    EXPECT_EQ(r.status, 0) << r.err;
    for (const char* line :
         {"elements: 4\n", "  distances: 1\n", "  polygons: 1\n", "  text labels: 1\n",
          "  ellipses: 1\n", "picture: 400 x 200 pixels, 24 bits per pixel\n", "zoom: 50 %\n",
          "  show graphical scale: on\n", "  outline text: off\n"})
        EXPECT_NE(r.out.find(line), std::string::npos) << line << r.out;
}

TEST_F(Cli, ResultsAreTheCsvOfTheExportAtTheGivenScale) {
    const CliRun plain = run("results '" + project + "'");
    EXPECT_EQ(plain.status, 0) << plain.err;
    EXPECT_EQ(plain.out, "Typ,Bezeichnung,Länge/Umfang,Flächeninhalt,Winkel,Einheit\r\n"
                         "Abstand,\"Giebel, Nord\",50.0000,,53.1301,Pixel\r\n"
                         "Polygon,,40.0000,100.0000,,Pixel\r\n"
                         "Ellipse,,174.3921,2035.7520,,Pixel\r\n");
    const CliRun scaled =
        run("results '" + project + "' --scale 200:50 --unit mm -o '" + path("r.csv") + "'");
    EXPECT_EQ(scaled.status, 0) << scaled.err;
    std::ifstream in(path("r.csv"), std::ios::binary);
    const std::string csv{std::istreambuf_iterator<char>(in), {}};
    EXPECT_NE(csv.find("Abstand,\"Giebel, Nord\",12.5000,,53.1301,mm\r\n"), std::string::npos)
        << csv;
    EXPECT_NE(csv.find("Polygon,,10.0000,6.2500,,mm\r\n"), std::string::npos) << csv;
}

TEST_F(Cli, ExportsEveryFormat) {
    EXPECT_EQ(run("export '" + project + "' --dxf '" + path("o.dxf") + "' --pieces 2").status, 0);
    std::ifstream dxf(path("o.dxf"), std::ios::binary);
    const std::string d{std::istreambuf_iterator<char>(dxf), {}};
    EXPECT_EQ(std::count(d.begin(), d.end(), 'V') >= 64, true);
    EXPECT_NE(d.find("VERTEX"), std::string::npos);
    EXPECT_EQ(run("export '" + project + "' --emf '" + path("o.emf") + "'").status, 0);
    EXPECT_GT(fs::file_size(path("o.emf")), 108u);
    EXPECT_EQ(run("export '" + project + "' --svg '" + path("o.svg") + "'").status, 0);
    std::ifstream svg(path("o.svg"));
    const std::string s{std::istreambuf_iterator<char>(svg), {}};
    EXPECT_NE(s.find("viewBox=\"0 0 400 200\""), std::string::npos);
    EXPECT_NE(s.find("Notiz"), std::string::npos);
    EXPECT_NE(s.find("<image"), std::string::npos); // with the picture
    EXPECT_EQ(
        run("export '" + project + "' --picture '" + path("o.png") + "' --zoom 25 --lines-only")
            .status,
        0);
    EXPECT_EQ(QImage(QString::fromStdString(path("o.png"))).size(), QSize(100, 50));
    EXPECT_EQ(run("export '" + project + "' --picture '" + path("z.png") + "'").status, 0);
    EXPECT_EQ(QImage(QString::fromStdString(path("z.png"))).size(), QSize(200, 100)); // its zoom
}

TEST_F(Cli, NewMakesAnEmptyProjectOverAPicture) {
    QImage img(64, 32, QImage::Format_RGB32);
    img.fill(Qt::gray);
    ASSERT_TRUE(img.save(QString::fromStdString(path("pic.png"))));
    EXPECT_EQ(run("new '" + path("pic.png") + "' -o '" + path("n.ver") + "'").status, 0);
    const CliRun r = run("info '" + path("n.ver") + "'");
    EXPECT_NE(r.out.find("elements: 0\n"), std::string::npos);
    EXPECT_NE(r.out.find("picture: 64 x 32 pixels, 24 bits per pixel\n"), std::string::npos);
    EXPECT_NE(r.out.find("zoom: 100 %\n"), std::string::npos);
}

TEST_F(Cli, BadInputsFailWithOneLine) {
    std::ofstream(path("bad.ver"), std::ios::binary) << "garbage";
    const std::string cases[] = {
        "info '" + path("missing.ver") + "'",
        "info '" + path("bad.ver") + "'",
        "results '" + project + "' --scale 0:1",
        "results '" + project + "' --scale abc",
        "export '" + project + "' --svg a.svg --emf b.emf",
        "export '" + project + "' --dxf x.dxf --pieces 21",
        "export '" + project + "' --picture '" + path("no/dir/x.png") + "'",
        "new '" + path("bad.ver") + "' -o '" + path("x.ver") + "'",
        "info",
        "frobnicate",
        "info '" + project + "' --bogus",
    };
    for (const std::string& c : cases) {
        const CliRun r = run(c);
        EXPECT_NE(r.status, 0) << c;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << c << ": " << r.err;
        EXPECT_EQ(r.err.rfind("picmetra-cli: ", 0), 0u) << r.err;
    }
    const CliRun help = run("results --help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("--scale PIXELS:UNITS"), std::string::npos);
}

} // namespace
} // namespace pm
