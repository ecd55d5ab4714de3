#pragma once
// Elements for tests, by kind and points.

#include "drawing/view.h"
#include "model/elemente.h"

namespace pm::test {

inline Telemente& addElement(ElementList& list, int typ, Pt p1, Pt p2, Pt p3 = {}, Pt p4 = {}) {
    Telemente* e = list.append();
    e->typ = typ;
    e->x1 = p1.x;
    e->y1 = p1.y;
    e->x2 = p2.x;
    e->y2 = p2.y;
    e->x3 = p3.x;
    e->y3 = p3.y;
    e->x4 = p4.x;
    e->y4 = p4.y;
    return *e;
}

} // namespace pm::test
