#include "drawing/geometry.h"

#include <cmath>

namespace pm {

double linienabstand(double x1, double y1, double x2, double y2, double px, double py) {
    const float fx1 = float(x1), fy1 = float(y1), fx2 = float(x2), fy2 = float(y2);
    const float l = std::sqrt((fy1 - fy2) * (fy1 - fy2) + (fx2 - fx1) * (fx2 - fx1));
    if (l == 0.0f || !std::isfinite(l))
        return 1000.0;
    const float d = ((float(px) - fx1) * (fy1 - fy2) + (float(py) - fy1) * (fx2 - fx1)) / l;
    return std::isfinite(d) ? double(d) : 1000.0;
}

} // namespace pm
