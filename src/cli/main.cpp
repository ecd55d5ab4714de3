// picmetra-cli: batch work with project files, no window needed.
#include "acquire/rasterio.h"
#include "drawing/emf.h"
#include "drawing/scene.h"
#include "dxf/dxf.h"
#include "model/document.h"
#include "model/text.h"
#include "results/projectfile.h"
#include "results/results.h"
#include "translate/translations.h"

#include <QGuiApplication>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace {

using namespace pm;

const char* const kUsage =
    "usage: picmetra-cli COMMAND ...\n"
    "  info PROJECT                       elements by kind, picture, zoom, options\n"
    "  results PROJECT [--scale PIXELS:UNITS] [--unit NAME] [-o FILE]\n"
    "                                     the results as CSV (standard output without -o)\n"
    "  export PROJECT --dxf FILE [--pieces N] | --emf FILE | --svg FILE\n"
    "                 | --picture FILE [--lines-only] [--zoom Z]\n"
    "  new PICTURE -o PROJECT             a project with no elements over the picture\n"
    "Each command takes --help.\n";

int fail(const std::string& message) {
    std::cerr << "picmetra-cli: " << message << "\n";
    return 2;
}

// Options after the command's positional argument: "--name value" pairs and flags.
struct Args {
    std::string positional;
    std::map<std::string, std::string> values;
    std::vector<std::string> flags;
    std::string error;
};

Args parse(const std::vector<std::string>& in, const std::vector<std::string>& withValue,
           const std::vector<std::string>& flags) {
    Args a;
    for (std::size_t i = 0; i < in.size(); ++i) {
        const std::string& s = in[i];
        auto is = [&](const std::vector<std::string>& list) {
            return std::find(list.begin(), list.end(), s) != list.end();
        };
        if (is(withValue)) {
            if (i + 1 >= in.size()) {
                a.error = s + " needs a value";
                return a;
            }
            a.values[s] = in[++i];
        } else if (is(flags)) {
            a.flags.push_back(s);
        } else if (!s.empty() && s[0] == '-') {
            a.error = "unknown option " + s;
            return a;
        } else if (a.positional.empty()) {
            a.positional = s;
        } else {
            a.error = "unexpected argument " + s;
            return a;
        }
    }
    if (a.positional.empty())
        a.error = "a file is missing";
    return a;
}

std::optional<double> number(const std::string& s) {
    double v = 0;
    const auto r = std::from_chars(s.data(), s.data() + s.size(), v);
    if (r.ec != std::errc() || r.ptr != s.data() + s.size())
        return std::nullopt;
    return v;
}

struct Loaded {
    Document doc;
    ProjectSettings settings;
};

// Reads a project; an empty message when it worked.
std::string load(const std::string& file, Loaded& out) {
    ProjectData data;
    switch (readProject(file, data)) {
    case ReadResult::CannotOpen:
        return "cannot open " + file;
    case ReadResult::Damaged:
        return file + " is damaged or not a project file";
    case ReadResult::Ok:
        break;
    }
    if (!takeElements(data, out.doc.elemente))
        return "not enough memory for " + file;
    out.doc.replacePicture(data.picture);
    out.settings = data.settings;
    return {};
}

RenderContext contextOf(const Loaded& l, const std::u16string* unit) {
    RenderContext ctx;
    ctx.view = View{int(std::clamp(l.settings.zoom, 10.0, 30000.0)), 0, 0, true};
    ctx.settings.lineColor = l.settings.color;
    ctx.settings.lineWidth = l.settings.lineWidth;
    ctx.settings.arrowLength = l.settings.arrowLength;
    ctx.settings.font = l.settings.font;
    ctx.settings.showScale = l.settings.options[optAnzeigen];
    ctx.settings.outline = l.settings.options[optSchriftUmranden];
    ctx.unit = unit;
    return ctx;
}

const char* kindName(int typ) {
    switch (typ) {
    case typLine:
        return "lines";
    case typQuadCurve:
        return "quadratic curves";
    case typCubicCurve:
        return "cubic curves";
    case typRechteck:
        return "rectangles";
    case typEllipse:
        return "ellipses";
    case typAbstand:
        return "distances";
    case typMassstab:
        return "graphical scales";
    case typPolygon:
        return "polygons";
    case typStrecke:
        return "paths";
    case typText:
        return "text labels";
    default:
        return "other elements";
    }
}

int info(const std::vector<std::string>& in) {
    const Args a = parse(in, {}, {});
    if (!a.error.empty())
        return fail(a.error);
    Loaded l;
    if (const std::string e = load(a.positional, l); !e.empty())
        return fail(e);
    std::map<std::string, int> kinds;
    int slanted = 0;
    for (int i = 0; i < l.doc.elemente.count(); ++i) {
        const Telemente& e = l.doc.elemente.at(i);
        ++kinds[kindName(e.typ)];
        slanted += e.typ == typAbstand && e.x4 != 0;
    }
    std::cout << "elements: " << l.doc.elemente.count() << "\n";
    for (const auto& [name, n] : kinds)
        std::cout << "  " << name << ": " << n << "\n";
    if (slanted)
        std::cout << "  of the distances slanted: " << slanted << "\n";
    std::cout << "picture: " << dibwidth(l.doc.di) << " x " << dibheight(l.doc.di) << " pixels, "
              << dibbitcount(l.doc.di) << " bits per pixel\n";
    std::cout << "zoom: " << l.settings.zoom << " %\n";
    const char* names[] = {"show graphical scale",    "show results list", "outline text",
                           "pointer after measuring", "ask for labels",    "fit arrows and labels"};
    std::cout << "options:\n";
    for (int i = 0; i < kProjectOptions; ++i)
        std::cout << "  " << names[i] << ": " << (l.settings.options[std::size_t(i)] ? "on" : "off")
                  << "\n";
    std::cout << "line width: " << l.settings.lineWidth
              << ", arrow length: " << l.settings.arrowLength << "\n";
    std::cout << "label font: " << toUtf8(l.settings.font.face) << ", " << -l.settings.font.height
              << " pixels\n";
    return 0;
}

int results(const std::vector<std::string>& in) {
    const Args a = parse(in, {"--scale", "--unit", "-o"}, {});
    if (!a.error.empty())
        return fail(a.error);
    Loaded l;
    if (const std::string e = load(a.positional, l); !e.empty())
        return fail(e);
    Scale scale{1, 1, u"Pixel"};
    if (auto it = a.values.find("--scale"); it != a.values.end()) {
        const auto colon = it->second.find(':');
        const auto px = number(it->second.substr(0, colon));
        const auto units =
            colon == std::string::npos ? std::nullopt : number(it->second.substr(colon + 1));
        if (!px || !units || *px == 0 || *units == 0)
            return fail("--scale takes PIXELS:UNITS, two numbers other than 0");
        scale.mas1 = *px;
        scale.mas2 = *units;
    }
    if (auto it = a.values.find("--unit"); it != a.values.end())
        scale.einh = fromUtf8(it->second);
    for (int i = 0; i < l.doc.elemente.count(); ++i)
        CalcElement(l.doc.elemente.at(i), scale, l.doc.sums);
    Translator tr; // the program's own (German) names, as the results list shows them
    if (auto it = a.values.find("-o"); it != a.values.end()) {
        if (!writeResultsCsv(it->second, l.doc.elemente, tr, scale.einh))
            return fail("cannot write " + it->second);
        return 0;
    }
    std::cout << resultsCsv(l.doc.elemente, tr, scale.einh);
    return std::cout.good() ? 0 : 1;
}

int exportCommand(const std::vector<std::string>& in) {
    const Args a =
        parse(in, {"--dxf", "--emf", "--svg", "--picture", "--pieces", "--zoom"}, {"--lines-only"});
    if (!a.error.empty())
        return fail(a.error);
    int targets = 0;
    for (const char* t : {"--dxf", "--emf", "--svg", "--picture"})
        targets += a.values.count(t) ? 1 : 0;
    if (targets != 1)
        return fail("export takes exactly one of --dxf, --emf, --svg, --picture");
    Loaded l;
    if (const std::string e = load(a.positional, l); !e.empty())
        return fail(e);
    std::u16string unit = u"Pixel";
    RenderContext ctx = contextOf(l, &unit);
    if (auto it = a.values.find("--zoom"); it != a.values.end()) {
        const auto z = number(it->second);
        if (!z || *z < 10 || *z > 30000)
            return fail("--zoom takes a percentage from 10 to 30000");
        ctx.view.z = int(*z);
    }
    const bool linesOnly = !a.flags.empty();
    if (auto it = a.values.find("--dxf"); it != a.values.end()) {
        int pieces = 4;
        if (auto p = a.values.find("--pieces"); p != a.values.end()) {
            const auto n = number(p->second);
            if (!n || *n < 1 || *n > 20 || *n != int(*n))
                return fail("--pieces takes a whole number from 1 to 20");
            pieces = int(*n);
        }
        return savedxfArc(it->second, l.doc.elemente, pieces) ? 0
                                                              : fail("cannot write " + it->second);
    }
    if (auto it = a.values.find("--emf"); it != a.values.end())
        return saveasemf(it->second, l.doc.elemente, ctx.view.z, ctx.settings.lineColor,
                         ctx.penWidth())
                   ? 0
                   : fail("cannot write " + it->second);
    if (auto it = a.values.find("--svg"); it != a.values.end())
        return saveSvg(it->second, l.doc, ctx, !linesOnly) ? 0 : fail("cannot write " + it->second);
    const std::string& file = a.values.at("--picture");
    return savePicture(file, l.doc, ctx, !linesOnly, nullptr) ? 0 : fail("cannot write " + file);
}

int newCommand(const std::vector<std::string>& in) {
    const Args a = parse(in, {"-o"}, {});
    if (!a.error.empty())
        return fail(a.error);
    if (!a.values.count("-o"))
        return fail("new needs -o PROJECT");
    dib picture;
    OpenDib(picture, a.positional);
    if (!picture.poi)
        return fail("cannot read the picture " + a.positional);
    Document doc;
    doc.replacePicture(picture);
    ProjectSettings s; // the program's defaults, zoom 100
    const std::string& out = a.values.at("-o");
    return saveprojekt(out, doc.elemente, doc.di, s) ? 0 : fail("cannot write " + out);
}

} // namespace

int main(int argc, char** argv) {
    // No display is needed: everything is drawn off screen.
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // Standard error carries our one-line messages only, not the toolkit's notes.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& msg) {
        if (type == QtCriticalMsg || type == QtFatalMsg)
            std::cerr << "picmetra-cli: " << msg.toStdString() << "\n";
    });
    QGuiApplication app(argc, argv);
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty() || args[0] == "--help" || args[0] == "-h") {
        std::cout << kUsage;
        return args.empty() ? 2 : 0;
    }
    const std::string command = args[0];
    args.erase(args.begin());
    if (std::find(args.begin(), args.end(), "--help") != args.end()) {
        std::cout << kUsage;
        return 0;
    }
    if (command == "info")
        return info(args);
    if (command == "results")
        return results(args);
    if (command == "export")
        return exportCommand(args);
    if (command == "new")
        return newCommand(args);
    return fail("unknown command " + command + " (see --help)");
}
