// Saving and opening a project with a 6000 x 4000 picture, and decoding a JPEG of that size,
// against the plain tools in the same run: cp of a file of the project's size followed by sync
// of it, and djpeg. Prints the times and the ratios.
#include "acquire/rasterio.h"
#include "model/document.h"
#include "results/projectfile.h"

#include <QGuiApplication>
#include <QImage>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <unistd.h>

namespace {

double bestOf(int runs, const std::function<void()>& f) {
    double best = 1e9;
    for (int i = 0; i < runs; ++i) {
        const auto t0 = std::chrono::steady_clock::now();
        f();
        best = std::min(
            best, std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0)
                      .count());
    }
    return best;
}

void run(const std::string& command) {
    if (std::system(command.c_str()) != 0)
        std::fprintf(stderr, "failed: %s\n", command.c_str());
}

} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication app(argc, argv);
    const std::string dir = argc > 1 ? argv[1] : "/tmp/picmetra-bench";
    run("mkdir -p " + dir);
    const std::string project = dir + "/big.ver", copy = dir + "/copy.ver", jpeg = dir + "/big.jpg";

    pm::Document doc;
    pm::dib picture;
    pm::newdib(picture, 6000, 4000, 24, nullptr, 0);
    for (int y = 0; y < 4000; ++y)
        for (int x = 0; x < 6000 * 3; ++x)
            picture.poi[std::size_t(y) * picture.bytew + x] = std::uint8_t(x * 7 + y * 3);
    doc.replacePicture(picture);
    pm::ProjectSettings settings;

    const int runs = 5;
    const double save =
        bestOf(runs, [&] { pm::saveprojekt(project, doc.elemente, doc.di, settings); });
    const double cpSync =
        bestOf(runs, [&] { run("cp " + project + " " + copy + " && sync " + copy); });
    const double open = bestOf(runs, [&] {
        pm::ProjectData data;
        pm::readProject(project, data);
        pm::ElementList list;
        pm::takeElements(data, list);
        doc.replacePicture(data.picture);
    });

    QImage img(6000, 4000, QImage::Format_RGB32);
    for (int y = 0; y < 4000; ++y)
        for (int x = 0; x < 6000; ++x)
            img.setPixel(x, y, qRgb(x % 256, y % 256, (x ^ y) % 256));
    img.save(QString::fromStdString(jpeg), "JPEG", 90);
    const double load = bestOf(runs, [&] {
        pm::dib d;
        pm::OpenDib(d, jpeg);
        pm::freedib(d);
    });
    const double djpeg = bestOf(runs, [&] { run("djpeg -outfile /dev/null " + jpeg); });

    std::printf("project of %ld bytes\n", long(std::size_t(doc.di.bytew) * 4000 + 100));
    std::printf("save project (flushed)   %8.1f ms   cp + sync %8.1f ms   ratio %.2f\n", save,
                cpSync, save / cpSync);
    std::printf("open project             %8.1f ms   cp + sync %8.1f ms   ratio %.2f\n", open,
                cpSync, open / cpSync);
    std::printf("LadeBild 6000x4000 JPEG  %8.1f ms   djpeg     %8.1f ms   ratio %.2f\n", load,
                djpeg, load / djpeg);
    run("rm -rf " + dir);
    return 0;
}
