#pragma once
// The DXF file for CNC machines: straight lines, curves and ellipses as polylines of straight
// and circular segments (bulges), never splines.

#include "drawing/view.h"
#include "model/elemente.h"

#include <string>

namespace pm {

// The shortest decimal form with at most 15 significant digits, a point as separator.
std::string dxfnumber(double v);

class DxfWriter {
public:
    explicit DxfWriter(int pieces) : pieces_(pieces) {}
    void header();
    void dxfsegment(double x0, double y0, double x1, double y1, double bulge);
    void dxfbezier(Pt s, Pt c1, Pt c2, Pt e);
    bool dxfarcpiece(Pt a, Pt m, Pt z);
    bool dxfarc3(Pt a, Pt q, Pt z);
    void dxfellipse(double x1, double y1, double x2, double y2);
    void finish();
    const std::string& text() const { return out_; }

private:
    void line(const std::string& s);
    std::string out_;
    int pieces_;
    bool open_ = false;
    double lastX_ = 0, lastY_ = 0;
};

double bezierpoint(double p0, double p1, double p2, double p3, double t);
double signeddistance(Pt s, Pt t, Pt p);

// The whole file for the list, with `pieces` pieces per curve (1 to 20).
std::string dxfDocument(const ElementList& list, int pieces);
// Writes it through a temporary file; false when the file cannot be created or written.
bool savedxfArc(const std::string& fileName, const ElementList& list, int pieces);

} // namespace pm
