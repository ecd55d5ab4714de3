#include "dxf/dxf.h"
#include "model/atomicfile.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>

namespace pm {

constexpr double kPiDxf = 3.14159265358979323846;

std::string dxfnumber(double v) {
    if (!std::isfinite(v) || v == 0)
        return "0";
    char buf[64];
    const auto res =
        std::to_chars(buf, buf + sizeof buf, std::fabs(v), std::chars_format::scientific, 14);
    const std::string sci(buf, res.ptr);
    const std::size_t epos = sci.find('e');
    std::string digits = sci.substr(0, 1) + sci.substr(2, epos - 2);
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();
    // value = 0.d1d2...dn x 10^e
    const int e = std::atoi(sci.c_str() + epos + 1) + 1;
    std::string out = v < 0 ? "-" : "";
    if (e >= -3 && e <= 15) {
        if (e <= 0) {
            out += "0.";
            out.append(std::size_t(-e), '0');
            out += digits;
        } else {
            std::string whole =
                digits.substr(0, std::min<std::size_t>(digits.size(), std::size_t(e)));
            whole.append(std::size_t(e) - whole.size(), '0');
            out += whole;
            if (digits.size() > std::size_t(e)) {
                out += '.';
                out.append(digits, std::size_t(e), std::string::npos);
            }
        }
    } else {
        out += digits[0];
        if (digits.size() > 1) {
            out += '.';
            out.append(digits, 1, std::string::npos);
        }
        out += 'E';
        out += std::to_string(e - 1);
    }
    return out;
}

void DxfWriter::line(const std::string& s) {
    out_ += s;
    out_ += "\r\n";
}

void DxfWriter::header() {
    static const char* const lines[] = {
        " 0",  "SECTION",    "  2", "TABLES", " 0", "TABLE",
        " 2",  "LTYPE",      "70",  "1",      "0",  "LTYPE",
        "2",   "AUSGEZOGEN", "70",  "0",      "3",  "Ausgezogenen Linie",
        "72",  "65",         "73",  "0",      "40", "0.0",
        "0",   "ENDTAB",     " 0",  "TABLE",  " 2", "LAYER",
        "70",  "1",          "0",   "LAYER",  "2",  "0",
        "70",  "0",          "62",  "7",      "6",  "AUSGEZOGEN",
        " 0",  "ENDTAB",     " 0",  "ENDSEC", " 0", "SECTION",
        "  2", "ENTITIES"};
    for (const char* l : lines)
        line(l);
}

void DxfWriter::dxfsegment(double x0, double y0, double x1, double y1, double bulge) {
    if (!open_) {
        open_ = true;
        for (const char* l : {"0", "POLYLINE", "8", "0", "66", "1"})
            line(l);
    } else if (x0 != lastX_ || y0 != lastY_) {
        for (const char* l : {"0", "SEQEND", "0", "POLYLINE", "8", "0", "66", "1"})
            line(l);
    }
    for (const auto& [x, y] : {std::pair{x0, y0}, std::pair{x1, y1}}) {
        for (const char* l : {"0", "VERTEX", "8", "0", "10"})
            line(l);
        line(dxfnumber(x));
        line("20");
        line(dxfnumber(y));
        line("42");
        line(dxfnumber(bulge));
    }
    lastX_ = x1;
    lastY_ = y1;
}

void DxfWriter::finish() {
    if (open_)
        for (const char* l : {"0", "SEQEND"})
            line(l);
    for (const char* l : {"  0", "ENDSEC", "  0", "EOF"})
        line(l);
}

double bezierpoint(double p0, double p1, double p2, double p3, double t) {
    if (t == 0)
        return p0;
    if (t == 1)
        return p3;
    const double u = 1 - t;
    return u * u * u * p0 + 3 * t * u * u * p1 + 3 * t * t * u * p2 + t * t * t * p3;
}

double signeddistance(Pt s, Pt t, Pt p) {
    const double l = std::hypot(t.x - s.x, t.y - s.y);
    if (l == 0 || !std::isfinite(l))
        return 1000;
    const double d = (p.x - s.x) * ((s.y - t.y) / l) + (p.y - s.y) * ((t.x - s.x) / l);
    return std::isfinite(d) ? d : 1000;
}

void DxfWriter::dxfbezier(Pt s, Pt c1, Pt c2, Pt e) {
    if (pieces_ < 1)
        return;
    auto at = [&](double t) {
        return Pt{bezierpoint(s.x, c1.x, c2.x, e.x, t), bezierpoint(s.y, c1.y, c2.y, e.y, t)};
    };
    const int n = pieces_;
    for (int i = 1; i <= n; ++i) {
        const Pt a = at(double(i - 1) / n), m = at((i - 0.5) / n), z = at(double(i) / n);
        if (!dxfarcpiece(a, m, z))
            dxfsegment(a.x, a.y, z.x, z.y, 0);
    }
}

bool DxfWriter::dxfarcpiece(Pt a, Pt m, Pt z) {
    const Pt c = (a + z) / 2, h = (z - a) / 2;
    int best = 1000;
    double bestDistance = 0;
    for (int k = 999; k >= -999; --k) {
        const Pt q{c.x + k * h.y / 1000, c.y - k * h.x / 1000};
        const double d = std::hypot(q.x - m.x, q.y - m.y);
        if (!std::isfinite(d))
            continue;
        if (best == 1000 || d < bestDistance) {
            best = k;
            bestDistance = d;
        }
    }
    if (best == 1000)
        return false;
    return dxfarc3(a, {c.x + best * h.y / 1000, c.y - best * h.x / 1000}, z);
}

bool DxfWriter::dxfarc3(Pt a, Pt q, Pt z) {
    const double det = a.x * (q.y - z.y) + q.x * (z.y - a.y) + z.x * (a.y - q.y);
    if (!(std::fabs(det) > 1e-8)) // collinear (or not a number): a straight piece
        return false;
    const double qa = a.x * a.x + a.y * a.y, qq = q.x * q.x + q.y * q.y, qz = z.x * z.x + z.y * z.y;
    const Pt o{(qa * (q.y - z.y) + qq * (z.y - a.y) + qz * (a.y - q.y)) / (2 * det),
               (qa * (z.x - q.x) + qq * (a.x - z.x) + qz * (q.x - a.x)) / (2 * det)};
    const double r = std::hypot(a.x - o.x, a.y - o.y);
    const double alpha = std::atan2(a.y - o.y, a.x - o.x);
    const double beta = std::atan2(z.y - o.y, z.x - o.x);
    const double sweep = beta > alpha ? beta - alpha : 2 * kPiDxf - alpha + beta;
    const double chord = std::hypot(z.x - a.x, z.y - a.y);
    const double phi = std::asin(std::min(1.0, chord / (2 * r)));
    const double bulge = sweep < kPiDxf ? std::tan(phi / 2) : -std::tan(phi / 2);
    if (!std::isfinite(bulge))
        return false;
    dxfsegment(a.x, a.y, z.x, z.y, bulge);
    return true;
}

void DxfWriter::dxfellipse(double x1, double y1, double x2, double y2) {
    const double my = (y1 + y2) / 2;
    if (x1 == x2) {
        // No width: the axis has no direction. The ellipse is the line between the two box
        // edges, run down and back in 16 x n straight pieces like any other ellipse.
        const double hb = (y1 - y2) / 2;
        auto pointAt = [&](double theta) { return Pt{x1, my + hb * std::cos(theta)}; };
        for (int j = 1; j <= 16; ++j)
            for (int i = 1; i <= pieces_; ++i) {
                const double t0 = ((j - 1) + double(i - 1) / pieces_) * kPiDxf / 8;
                const double t1 = ((j - 1) + double(i) / pieces_) * kPiDxf / 8;
                const Pt a = pointAt(t0), z = pointAt(t1);
                dxfsegment(a.x, a.y, z.x, z.y, 0);
            }
        return;
    }
    const Pt s{x1, my}, t{x2, my};
    const Pt o = (s + t) / 2;
    const double a = std::hypot(o.x - s.x, o.y - s.y);
    const double b = signeddistance(s, t, {o.x, y1});
    const double rho = std::atan2(o.x - s.x, o.y - s.y);
    auto pointAt = [&](double theta, double u, double v) {
        return Pt{o.x + std::sin(rho) * u * std::sin(theta) - std::cos(rho) * v * std::cos(theta),
                  o.y + std::cos(rho) * u * std::sin(theta) + std::sin(rho) * v * std::cos(theta)};
    };
    const double step = kPiDxf / 8; // 22.5 degrees
    Pt previous = pointAt(0, a, b);
    for (int j = 1; j <= 16; ++j) {
        const Pt p = pointAt(j * step, a, b);
        const Pt k = pointAt(j * step - kPiDxf / 16, 1.02 * a, 1.02 * b);
        const Pt c1 = previous + (k - previous) * (2.0 / 3.0);
        const Pt c2 = k + (p - k) * (1.0 / 3.0);
        dxfbezier(previous, c1, c2, p);
        previous = p;
    }
}

namespace {
Pt dxfPoint(double x, double y) {
    return {x / 72, -y / 72};
}
bool finite(const Telemente& e) {
    for (double v : {e.x1, e.y1, e.x2, e.y2, e.x3, e.y3, e.x4, e.y4})
        if (!std::isfinite(v))
            return false;
    return true;
}
} // namespace

std::string dxfDocument(const ElementList& list, int pieces) {
    DxfWriter w(pieces);
    w.header();
    for (int i = 0; i < list.count(); ++i) {
        const Telemente& e = list.at(i);
        if (!finite(e)) // nothing a machine could follow
            continue;
        const Pt s = dxfPoint(e.x1, e.y1), end = dxfPoint(e.x2, e.y2);
        if (e.typ == typLine) {
            w.dxfsegment(s.x, s.y, end.x, end.y, 0);
        } else if (e.typ == typCubicCurve) {
            w.dxfbezier(s, dxfPoint(e.x3, e.y3), dxfPoint(e.x4, e.y4), end);
        } else if (e.typ == typQuadCurve) {
            const Pt p1{e.x1, e.y1}, p2{e.x2, e.y2}, p3{e.x3, e.y3};
            const Pt c1 = p1 + (p3 - p1) * (2.0 / 3.0), c2 = p3 + (p2 - p3) * (1.0 / 3.0);
            w.dxfbezier(s, dxfPoint(c1.x, c1.y), dxfPoint(c2.x, c2.y), end);
        }
    }
    for (int i = 0; i < list.count(); ++i) {
        const Telemente& e = list.at(i);
        if (e.typ == typEllipse && finite(e)) {
            const Pt a = dxfPoint(e.x1, e.y1), b = dxfPoint(e.x2, e.y2);
            w.dxfellipse(a.x, a.y, b.x, b.y);
        }
    }
    w.finish();
    return w.text();
}

bool savedxfArc(const std::string& fileName, const ElementList& list, int pieces) {
    return writeFileAtomically(fileName, dxfDocument(list, pieces));
}

} // namespace pm
