// The full repaint against the bare drawing it is made of: a 6000 x 4000 picture and mixed
// elements with labels into a 1600 x 1000 area.
//
// "Pass" runs our pass (white fill, picture scaling, every element with its labels, the
// results rows). "Bare" draws the visible part of the picture with QPainter::drawImage and
// replays exactly the lines, triangles and texts the pass drew, straight on QPainter.
#include "acquire/rasterio.h"
#include "drawing/dibdraw.h"
#include "drawing/qtcanvas.h"
#include "drawing/render.h"
#include "results/results.h"
#include "support/recordingcanvas.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <random>

namespace {

using namespace pm;

constexpr int kAreaW = 1600, kAreaH = 1000;
constexpr int kPicW = 6000, kPicH = 4000;

struct World {
    dib picture;
    QImage pictureImage; // the same picture for the bare reference
    std::unique_ptr<ElementList> list;
    Scale scale{200, 50, u"mm"};
    MeasureSums sums;
    std::u16string unit = u"mm";
    int count = 0;

    void build(int elements) {
        if (!picture.poi) {
            newdib(picture, kPicW, kPicH, 24, nullptr, 0);
            std::mt19937 rng(1);
            for (int y = 0; y < kPicH; ++y) {
                std::uint8_t* row = picture.poi + std::size_t(y) * picture.bytew;
                for (int x = 0; x < kPicW * 3; ++x)
                    row[x] = std::uint8_t((x * 7 + y * 3) ^ (rng() & 15));
            }
            pictureImage = dibToQImage(picture).convertToFormat(QImage::Format_RGB32);
        }
        if (count == elements)
            return;
        count = elements;
        list = std::make_unique<ElementList>();
        std::mt19937 rng(7);
        std::uniform_real_distribution<double> px(0, kPicW), py(0, kPicH), len(20, 400);
        for (int i = 0; i < elements; ++i) {
            Telemente* e = list->append();
            const double x = px(rng), y = py(rng), l = len(rng);
            const int kinds[] = {typAbstand, typRechteck, typEllipse,
                                 typPolygon, typStrecke,  typText};
            e->typ = kinds[i % 6];
            e->x1 = x;
            e->y1 = y;
            e->x2 = x + l;
            e->y2 = y + l / 2;
            e->x3 = x + l / 2;
            e->y3 = y + l / 4 + 20;
            if (e->typ == typPolygon || e->typ == typStrecke)
                for (int k = 0; k < 5; ++k)
                    list->appendVertex(*e, x + k * l / 4, y + (k % 2) * l / 3);
            std::u16string label = u"Element A";
            label.back() = char16_t(u'A' + i % 26);
            storename(e->name, label);
        }
    }
};

World& world() {
    static World w;
    return w;
}

RenderContext contextFor(World& w, int zoom) {
    RenderContext ctx;
    ctx.view.z = zoom;
    // At high zoom look at the middle of the picture.
    ctx.view.h = zoom > 1000 ? 10000 : 0;
    ctx.view.v = zoom > 1000 ? 10000 : 0;
    ctx.unit = &w.unit;
    return ctx;
}

void runPass(World& w, QImage& bit, const RenderContext& ctx, ResultRows& rows,
             GlyphCache& glyphs) {
    const View& v = ctx.view;
    bit.fill(Qt::white);
    SurfaceDevice dev(surfaceOf(bit), 32);
    drawdib(dev, int(v.ox()), int(v.oy()), int(v.size(kPicW)), int(v.size(kPicH)), w.picture, 0, 0,
            kPicW, kPicH, false, RasterOp::Copy, nullptr);
    QPainter painter(&bit);
    QPainterCanvas canvas(painter, &glyphs);
    renderElements(canvas, ctx, *w.list, w.scale, w.sums);
    rows.refill(*w.list);
}

void BM_Pass(benchmark::State& state) {
    World& w = world();
    w.build(int(state.range(1)));
    QImage bit(kAreaW, kAreaH, QImage::Format_RGB32);
    const RenderContext ctx = contextFor(w, int(state.range(0)));
    ResultRows rows;
    GlyphCache glyphs; // kept across passes, as the main window keeps it
    for (auto _ : state) {
        runPass(w, bit, ctx, rows, glyphs);
        benchmark::ClobberMemory();
    }
}

void BM_Bare(benchmark::State& state) {
    World& w = world();
    w.build(int(state.range(1)));
    const RenderContext ctx = contextFor(w, int(state.range(0)));
    test::RecordingCanvas rec;
    renderElements(rec, ctx, *w.list, w.scale, w.sums);
    const View& v = ctx.view;
    // The visible part of the picture, in picture pixels.
    const QRectF target(v.ox(), v.oy(), v.size(kPicW), v.size(kPicH));
    const double f = 100.0 / v.z;
    const QRectF source(-v.ox() * f, -v.oy() * f, kAreaW * f, kAreaH * f);
    QImage bit(kAreaW, kAreaH, QImage::Format_RGB32);
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(std::max(1, 15 * v.z / 100));
    for (auto _ : state) {
        bit.fill(Qt::white);
        QPainter p(&bit);
        p.drawImage(QRectF(0, 0, kAreaW, kAreaH), w.pictureImage,
                    source.intersected(QRectF(0, 0, kPicW, kPicH)));
        p.setFont(font);
        for (const test::Op& op : rec.ops) {
            p.setPen(QPen(QColor(op.pen.r, op.pen.g, op.pen.b), op.penWidth));
            switch (op.kind) {
            case test::Op::Line:
                p.drawLine(QPointF(op.pts[0].x, op.pts[0].y), QPointF(op.pts[1].x, op.pts[1].y));
                break;
            case test::Op::Fill:
            case test::Op::Polyline: {
                QPolygonF poly;
                for (const Pt& q : op.pts)
                    poly << QPointF(q.x, q.y);
                if (op.kind == test::Op::Fill) {
                    p.setPen(Qt::NoPen);
                    p.setBrush(Qt::red);
                    p.drawPolygon(poly);
                } else {
                    p.drawPolyline(poly);
                }
                break;
            }
            case test::Op::Rectangle:
                p.setBrush(Qt::NoBrush);
                p.drawRect(
                    QRectF(QPointF(op.pts[0].x, op.pts[0].y), QPointF(op.pts[1].x, op.pts[1].y)));
                break;
            case test::Op::Ellipse:
                p.setBrush(Qt::NoBrush);
                p.drawEllipse(
                    QRectF(QPointF(op.pts[0].x, op.pts[0].y), QPointF(op.pts[1].x, op.pts[1].y)));
                break;
            case test::Op::Text:
                p.save();
                p.translate(op.pts[0].x, op.pts[0].y);
                p.rotate(-op.escapement / 10.0);
                p.drawText(QPointF(0, 12), QString::fromStdU16String(op.text));
                p.restore();
                break;
            case test::Op::Bezier:
                break;
            }
        }
        p.end();
        benchmark::ClobberMemory();
    }
    (void)target;
}

// Zoom 27 fits the picture's width into the area; 30000 shows a few pixels of it.
BENCHMARK(BM_Bare)->Args({27, 1000})->Args({30000, 1000})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Pass)->Args({27, 1000})->Args({30000, 1000})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Pass)->Args({27, 100})->Args({27, 10000})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Bare)->Args({27, 10000})->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
