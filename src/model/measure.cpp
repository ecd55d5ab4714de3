#include "model/measure.h"

#include "model/services.h"

#include <cmath>

namespace pm {

double ellipseumfang(double a, double b) {
    if (a + b == 0.0)
        return 0.0;
    const double h = (a - b) * (a - b) / ((a + b) * (a + b));
    const double t = 3.0 * h;
    return kPi * (a + b) * (1.0 + t / (10.0 + std::sqrt(4.0 - t)));
}

void CalcMeasure(const Telemente& e, MeasureSums& sums) {
    sums.calcsum = 0.0;
    sums.calcabst = 0.0;
    if (!e.vert || e.vert->count() < 2)
        return;
    const auto* v = reinterpret_cast<const Tvert*>(e.vert->data());
    const std::uint32_t n = e.vert->count();
    // Coordinates are read into single precision; every stored result is rounded to it, while
    // each expression itself may run wider.
    float mx = float(v[0].x);
    float my = float(v[0].y);
    for (std::uint32_t i = 1; i < n; ++i) {
        mx = std::fmin(mx, float(v[i].x));
        my = std::fmin(my, float(v[i].y));
    }
    float len = 0.0f;
    float area = 0.0f;
    for (std::uint32_t i = 1; i < n; ++i) {
        const double px = float(v[i - 1].x), py = float(v[i - 1].y);
        const double cx = float(v[i].x), cy = float(v[i].y);
        const float s = float(std::sqrt((px - cx) * (px - cx) + (py - cy) * (py - cy)));
        len = float(double(len) + s);
        area = float(double(area) + (px - mx) * (cy - my) - (cx - mx) * (py - my));
    }
    sums.calcsum = std::fabs(double(float(area * 0.5f)));
    sums.calcabst = len;
}

void CalcElement(Telemente& e, const Scale& scale, MeasureSums& sums) {
    const double f = scale.factor();
    const double dx = e.x2 - e.x1;
    const double dy = e.y2 - e.y1;
    switch (e.typ) {
    case typRechteck:
        e.lang = (2.0 * std::fabs(dx) + 2.0 * std::fabs(dy)) * f;
        e.flaeche = std::fabs(dx) * std::fabs(dy) * f * f;
        e.winkel = 0.0;
        break;
    case typEllipse:
        e.lang = ellipseumfang(std::fabs(dx) / 2.0, std::fabs(dy) / 2.0) * f;
        e.flaeche = kPi * (std::fabs(dx) / 2.0) * (std::fabs(dy) / 2.0) * f * f;
        e.winkel = 0.0;
        break;
    case typAbstand:
    case typMassstab: {
        double l = std::sqrt(dx * dx + dy * dy) * f;
        const double c = std::cos(e.x4 * kPi / 180.0);
        if (c != 0.0)
            l /= c;
        e.lang = l;
        e.flaeche = 0.0;
        e.winkel = std::atan2(dy, dx) * 180.0 / kPi;
        break;
    }
    case typPolygon:
    case typStrecke:
        CalcMeasure(e, sums);
        e.lang = sums.calcabst * f;
        e.flaeche = sums.calcsum * f * f;
        e.winkel = 0.0;
        break;
    default:
        break;
    }
}

void Numerisch(DialogService& dialogs, Scale& scale, bool& anzeigen) {
    ScaleDialogValues v;
    v.pixel = scale.mas1;
    v.entspricht = scale.mas2;
    v.einheit = scale.einh;
    v.anzeigen = anzeigen;
    dialogs.showScaleDialog(v);
    anzeigen = v.anzeigen;
    scale.mas1 = v.pixel == 0.0 ? 1.0 : v.pixel;
    scale.mas2 = v.entspricht == 0.0 ? 1.0 : v.entspricht;
    scale.einh = v.einheit;
}

} // namespace pm
