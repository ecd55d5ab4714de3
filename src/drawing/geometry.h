#pragma once
// Small geometry shared by the drawing and the hit tests.

#include "drawing/view.h"
#include "model/elemente.h"

#include <utility>

namespace pm {

// Signed distance of (px, py) from the line through (x1, y1) and (x2, y2), in single precision;
// 1000 when the two points coincide or the arithmetic fails.
double linienabstand(double x1, double y1, double x2, double y2, double px, double py);

inline int vertexCount(const Telemente& e) {
    return e.vert ? int(e.vert->count()) : 0;
}
inline const Tvert& vertexAt(const Telemente& e, int i) {
    return reinterpret_cast<const Tvert*>(std::as_const(*e.vert).data())[i];
}
inline Tvert& vertexAt(Telemente& e, int i) {
    return reinterpret_cast<Tvert*>(e.vert->data())[i];
}

// The element that begins the chain element i belongs to: the nearest one at or before i
// with nr 0; -1 when there is none.
inline int chainStart(const ElementList& list, int i) {
    for (int k = i; k >= 0; --k)
        if (list.at(k).nr == 0)
            return k;
    return -1;
}

} // namespace pm
