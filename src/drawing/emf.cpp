#include "drawing/emf.h"

#include "drawing/geometry.h"
#include "drawing/view.h"
#include "model/atomicfile.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <vector>

namespace pm {

namespace {

enum : std::uint32_t {
    EMR_HEADER = 1,
    EMR_POLYBEZIERTO = 5,
    EMR_EOF = 14,
    EMR_MOVETOEX = 27,
    EMR_SELECTOBJECT = 37,
    EMR_DELETEOBJECT = 40,
    EMR_ELLIPSE = 42,
    EMR_LINETO = 54,
    EMR_EXTCREATEPEN = 95,
};
constexpr std::uint32_t kNullBrush = 0x80000005;
// The reference device: a 96 dots-per-inch screen of 1920 x 1080 pixels.
constexpr int kDevW = 1920, kDevH = 1080, kMmW = 508, kMmH = 286;

class Records {
public:
    void u32(std::uint32_t v) {
        for (int k = 0; k < 4; ++k)
            body_.push_back(char(v >> (8 * k) & 0xFF));
    }
    void i32(std::int32_t v) { u32(std::uint32_t(v)); }
    void begin(std::uint32_t type) {
        start_ = body_.size();
        u32(type);
        u32(0); // size, set in end()
        ++count_;
    }
    void end() {
        const auto size = std::uint32_t(body_.size() - start_);
        for (int k = 0; k < 4; ++k)
            body_[start_ + 4 + std::size_t(k)] = char(size >> (8 * k) & 0xFF);
    }
    void point(std::int32_t x, std::int32_t y) {
        i32(x);
        i32(y);
        grow(x, y);
    }
    void grow(std::int32_t x, std::int32_t y) {
        minX_ = std::min(minX_, x);
        minY_ = std::min(minY_, y);
        maxX_ = std::max(maxX_, x);
        maxY_ = std::max(maxY_, y);
    }
    std::string body_;
    std::size_t start_ = 0;
    std::uint32_t count_ = 0;
    std::int32_t minX_ = INT_MAX, minY_ = INT_MAX, maxX_ = INT_MIN, maxY_ = INT_MIN;
};

std::int32_t coord(double v) {
    return std::int32_t(std::clamp(v, -1e9, 1e9));
}

} // namespace

std::string emfDocument(const ElementList& list, int zoom, Rgb color, int penWidth) {
    const View v{zoom, 0, 0, true}; // the zoom without scroll offsets
    Records r;
    // One pen for the whole drawing: the line colour and width, a geometric pen as the
    // screen draws it (solid, round ends and joins).
    r.begin(EMR_EXTCREATEPEN);
    r.u32(1); // handle 1
    for (int k = 0; k < 4; ++k)
        r.u32(0);      // no pattern bitmap
    r.u32(0x00010000); // PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_ROUND | PS_JOIN_ROUND
    r.u32(std::uint32_t(penWidth));
    r.u32(0); // BS_SOLID
    r.u32(std::uint32_t(color.r) | std::uint32_t(color.g) << 8 | std::uint32_t(color.b) << 16);
    r.u32(0); // hatch
    r.u32(0); // no style entries
    r.end();
    r.begin(EMR_SELECTOBJECT);
    r.u32(1);
    r.end();
    bool clearBrush = false;
    auto move = [&](Pt p) {
        r.begin(EMR_MOVETOEX);
        r.point(coord(p.x), coord(p.y));
        r.end();
    };
    auto lineTo = [&](Pt p) {
        r.begin(EMR_LINETO);
        r.point(coord(p.x), coord(p.y));
        r.end();
    };
    auto bezierTo = [&](Pt c1, Pt c2, Pt e) {
        const Pt pts[3] = {c1, c2, e};
        std::int32_t x0 = INT_MAX, y0 = INT_MAX, x1 = INT_MIN, y1 = INT_MIN;
        for (const Pt& p : pts) {
            x0 = std::min(x0, coord(p.x));
            y0 = std::min(y0, coord(p.y));
            x1 = std::max(x1, coord(p.x));
            y1 = std::max(y1, coord(p.y));
        }
        r.begin(EMR_POLYBEZIERTO);
        r.i32(x0);
        r.i32(y0);
        r.i32(x1);
        r.i32(y1);
        r.u32(3);
        for (const Pt& p : pts)
            r.point(coord(p.x), coord(p.y));
        r.end();
    };
    for (int i = 0; i < list.count(); ++i) {
        const Telemente& e = list.at(i);
        const Pt p1{e.x1, e.y1}, p2{e.x2, e.y2}, p3{e.x3, e.y3}, p4{e.x4, e.y4};
        move(v.S(p1));
        switch (e.typ) {
        case typEllipse: {
            if (!clearBrush) { // transparent from the first ellipse on
                r.begin(EMR_SELECTOBJECT);
                r.u32(kNullBrush);
                r.end();
                clearBrush = true;
            }
            const Pt a = v.S(p1), b = v.S(p2);
            r.begin(EMR_ELLIPSE);
            r.point(coord(std::min(a.x, b.x)), coord(std::min(a.y, b.y)));
            r.point(coord(std::max(a.x, b.x)), coord(std::max(a.y, b.y)));
            r.end();
            break;
        }
        case typLine:
            lineTo(v.S(p2));
            break;
        case typQuadCurve:
            bezierTo(v.S(p1 + (p3 - p1) * (2.0 / 3.0)), v.S(p3 + (p2 - p3) * (1.0 / 3.0)), v.S(p2));
            break;
        case typCubicCurve:
            bezierTo(v.S(p3), v.S(p4), v.S(p2));
            break;
        default:
            break;
        }
        if (const int k = e.closed ? chainStart(list, i) : -1; k >= 0) {
            move(v.S(p2));
            lineTo(v.S({list.at(k).x1, list.at(k).y1}));
        }
    }
    r.begin(EMR_DELETEOBJECT);
    r.u32(1);
    r.end();
    r.begin(EMR_EOF);
    r.u32(0);
    r.u32(16);
    r.u32(20);
    r.end();

    // The header: bounds in device pixels (widened by the pen), frame in 0.01 mm.
    const bool empty = r.minX_ > r.maxX_;
    const int half = penWidth / 2 + 1;
    const std::int32_t bx0 = empty ? 0 : r.minX_ - half, by0 = empty ? 0 : r.minY_ - half;
    const std::int32_t bx1 = empty ? -1 : r.maxX_ + half, by1 = empty ? -1 : r.maxY_ + half;
    Records h;
    h.begin(EMR_HEADER);
    for (std::int32_t b : {bx0, by0, bx1, by1})
        h.i32(b);
    auto frame = [](std::int32_t px, int mm, int dev) {
        return std::int32_t(std::llround(double(px) * mm * 100 / dev));
    };
    h.i32(frame(bx0, kMmW, kDevW));
    h.i32(frame(by0, kMmH, kDevH));
    h.i32(frame(bx1 + 1, kMmW, kDevW));
    h.i32(frame(by1 + 1, kMmH, kDevH));
    h.u32(0x464D4520); // " EMF"
    h.u32(0x10000);
    const std::uint32_t headerSize = 108;
    h.u32(std::uint32_t(r.body_.size()) + headerSize); // nBytes
    h.u32(r.count_ + 1);                               // nRecords
    h.u32(2);                                          // nHandles (16 bits) and reserved
    h.u32(0);                                          // nDescription
    h.u32(0);                                          // offDescription
    h.u32(0);                                          // nPalEntries
    h.i32(kDevW);
    h.i32(kDevH);
    h.i32(kMmW);
    h.i32(kMmH);
    h.u32(0); // cbPixelFormat
    h.u32(0); // offPixelFormat
    h.u32(0); // bOpenGL
    h.i32(kMmW * 1000);
    h.i32(kMmH * 1000);
    h.end();
    return h.body_ + r.body_;
}

bool saveasemf(const std::string& fileName, const ElementList& list, int zoom, Rgb color,
               int penWidth) {
    return writeFileAtomically(fileName, emfDocument(list, zoom, color, penWidth));
}

} // namespace pm
