#pragma once
// Picture positions to window positions: X = R(z * px / 100) + ox, with R rounding halves to
// the even neighbour. Window coordinates are whole numbers held in doubles, so that nothing
// overflows at 30000 % on a huge scan.

#include <cmath>

namespace pm {

struct Pt {
    double x = 0;
    double y = 0;
    friend Pt operator+(Pt a, Pt b) { return {a.x + b.x, a.y + b.y}; }
    friend Pt operator-(Pt a, Pt b) { return {a.x - b.x, a.y - b.y}; }
    friend Pt operator*(Pt a, double f) { return {a.x * f, a.y * f}; }
    friend Pt operator*(double f, Pt a) { return {a.x * f, a.y * f}; }
    friend Pt operator/(Pt a, double f) { return {a.x / f, a.y / f}; }
    friend bool operator==(Pt a, Pt b) { return a.x == b.x && a.y == b.y; }
};

// Round to nearest, halves to even (the default floating-point rounding mode).
inline double R(double v) {
    return std::nearbyint(v);
}

struct View {
    int z = 100;            // zoom in percent
    int h = 0;              // horizontal scroll position, window pixels
    int v = 0;              // vertical scroll position
    bool forExport = false; // the whole picture from window (0, 0), no scroll offsets

    double ox() const { return forExport ? 0 : -h; }
    double oy() const { return forExport ? 0 : -v; }
    double X(double px) const { return R(z * px / 100.0) + ox(); }
    double Y(double py) const { return R(z * py / 100.0) + oy(); }
    Pt S(Pt p) const { return {X(p.x), Y(p.y)}; }
    Pt S(double px, double py) const { return {X(px), Y(py)}; }
    // A picture size in window pixels.
    double size(double pictureUnits) const { return R(pictureUnits * z / 100.0); }
    // Window to picture (the mouse), not rounded.
    Pt toPicture(double wx, double wy) const {
        return {(wx - ox()) * 100.0 / z, (wy - oy()) * 100.0 / z};
    }
};

} // namespace pm
