#include "interaction/interaction.h"

#include "drawing/geometry.h"

#include <cmath>
#include <vector>

namespace pm {

bool isDrawingTool(Tool t) {
    switch (t) {
    case Tool::Dimension:
    case Tool::Strecke:
    case Tool::Polygon:
    case Tool::Rect:
    case Tool::Circle:
    case Tool::Schraeg:
    case Tool::Massstab:
        return true;
    default:
        return false;
    }
}

bool isLineTool(Tool t) {
    return t == Tool::Massstab || t == Tool::Dimension || t == Tool::Schraeg ||
           t == Tool::Polygon || t == Tool::Strecke;
}

bool clickonpunkt(int x, int y, double px, double py, int z) {
    const double wx = z * px / 100.0;
    const double wy = z * py / 100.0;
    return wx - 3 <= x && x <= wx + 3 && wy - 3 <= y && y <= wy + 3;
}

bool ClickOnline(float x1, float y1, float x2, float y2, float px, float py, float t) {
    const double d = linienabstand(x1, y1, x2, y2, px, py);
    if (std::fabs(d) >= t)
        return false;
    const float len = std::sqrt((x2 - x1) * (x2 - x1) + (y2 - y1) * (y2 - y1));
    const float r = len + t;
    const float d1 = std::sqrt((px - x1) * (px - x1) + (py - y1) * (py - y1));
    const float d2 = std::sqrt((px - x2) * (px - x2) + (py - y2) * (py - y2));
    return !(d1 > r || d2 > r);
}

bool clickinbox(int x, int y, int left, int top, int right, int bottom) {
    const auto between = [](int v, int a, int b) {
        return a <= b ? a <= v && v <= b : b <= v && v <= a;
    };
    return between(x, left, right) && between(y, top, bottom);
}

Interaction::Interaction(Document& doc, InteractionHost& host, DialogService& dialogs,
                         const KeyboardState& keys)
    : doc_(doc), host_(host), dialogs_(dialogs), keys_(keys) {}

Pt Interaction::picture(int X, int Y) const {
    return host_.view().toPicture(X, Y);
}

Telemente* Interaction::last() {
    ElementList& list = doc_.elemente;
    return list.count() > 0 ? &list.at(list.count() - 1) : nullptr;
}

void Interaction::snap(int X, int Y, double& x, double& y) const {
    const View v = host_.view();
    const int vx = X + v.h, vy = Y + v.v;
    const ElementList& list = doc_.elemente;
    for (int i = 0; i < list.count(); ++i) {
        const Telemente& e = list.at(i);
        const Pt candidates[4] = {{e.x1, e.y1}, {e.x2, e.y2}, {e.x3, e.y3}, {e.x4, e.y4}};
        const int n = e.typ > 1 ? 4 : e.typ > 0 ? 3 : 2;
        for (int k = 0; k < n; ++k) {
            if (clickonpunkt(vx, vy, candidates[k].x, candidates[k].y, v.z)) {
                x = candidates[k].x;
                y = candidates[k].y;
                return;
            }
        }
    }
}

void Interaction::squareConstraint(double& x, double& y) const {
    const double dx = std::fabs(x - startx);
    const double dy = std::fabs(y - starty);
    if (dx > dy)
        x = x > startx ? startx + dy : startx - dy;
    else
        y = y > starty ? starty + dx : starty - dx;
}

void Interaction::lineConstraint(Tool t, double& x, double& y) const {
    if (!isLineTool(t))
        return;
    if (keys_.ctrlDown())
        y = starty;
    if (keys_.altDown())
        x = startx;
}

void Interaction::pointerOption() {
    if (host_.pointerOption())
        host_.setToolDown(Tool::Zeiger);
}

void Interaction::PaintBox1MouseDown(MouseButton button, int X, int Y) {
    if (button == MouseButton::Right) {
        rightClick();
        return;
    }
    const Tool t = host_.tool();
    if (t == Tool::Zeiger) {
        pointerPress(X, Y);
    } else if (t == Tool::Hand) {
        inhand = true;
        dragxx = X;
        dragyy = Y;
        ooffx = host_.view().h;
        ooffy = host_.view().v;
    } else if (inlinie && t == Tool::Text) {
        // A click with the text tool ends the element in progress and places a label; it
        // never makes an element of a kind no tool creates.
        inlinie = false;
        textClick(X, Y);
    } else if (inlinie) {
        continuationClick(t, X, Y);
    } else if (t == Tool::Text) {
        textClick(X, Y);
    } else if (isDrawingTool(t)) {
        inlinie = true;
        const Pt p = picture(X, Y);
        startx = p.x;
        starty = p.y;
        lastnr = 0;
        snap(X, Y, startx, starty);
    }
}

void Interaction::continuationClick(Tool t, int X, int Y) {
    const Pt p = picture(X, Y);
    tempx = p.x;
    tempy = p.y;
    if ((t == Tool::Circle || t == Tool::Rect) && keys_.leftCtrlDown())
        squareConstraint(tempx, tempy);
    if (!keys_.ctrlDown())
        snap(X, Y, tempx, tempy);
    endx = tempx;
    endy = tempy;
    ElementList& list = doc_.elemente;
    if (t == Tool::Massstab)
        for (int i = list.count() - 1; i >= 0; --i)
            if (list.at(i).typ == typMassstab)
                list.remove(i);
    lineConstraint(t, endx, endy);

    const double dist = std::hypot(endx - startx, endy - starty);
    const bool distanceTool = t == Tool::Dimension || t == Tool::Schraeg;
    const bool chainTool = t == Tool::Polygon || t == Tool::Strecke;
    if (distanceTool && lastnr > 0) {
        Telemente* e = last();
        if (!e) { // the element in progress was deleted meanwhile
            inlinie = false;
            return;
        }
        e->x3 = endx;
        e->y3 = endy;
        ++lastnr;
    } else if (chainTool && lastnr > 0) {
        Telemente* e = last();
        if (!e) {
            inlinie = false;
            return;
        }
        doc_.elemente.appendVertex(*e, endx, endy);
    } else {
        Telemente* e = list.append();
        if (!e) {
            inlinie = false;
            return;
        }
        switch (t) {
        case Tool::Polygon:
            e->typ = typPolygon;
            break;
        case Tool::Strecke:
            e->typ = typStrecke;
            break;
        case Tool::Massstab:
            e->typ = typMassstab;
            break;
        case Tool::Dimension:
        case Tool::Schraeg:
            e->typ = typAbstand;
            break;
        case Tool::Circle:
            e->typ = typEllipse;
            break;
        case Tool::Rect:
            e->typ = typRechteck;
            break;
        default: // no drawing tool down (the pointer or hand tools dispatch elsewhere)
            e->typ = typLine;
            break;
        }
        e->x1 = startx;
        e->y1 = starty;
        e->x2 = e->x3 = endx;
        e->y2 = e->y3 = endy;
        e->nr = lastnr;
        if (chainTool) {
            list.appendVertex(*e, startx, starty);
            list.appendVertex(*e, endx, endy);
        }
        ++lastnr;
    }
    startx = endx;
    starty = endy;

    if (distanceTool) {
        host_.fullRepaint();
        if (lastnr > 1) {
            inlinie = false;
            Telemente* e = last();
            e->x4 = 0;
            if (t == Tool::Schraeg) {
                double angle = 0;
                if (dialogs_.askSlope(angle))
                    e->x4 = angle;
            }
            Bezeichnungeingeben();
            pointerOption();
        }
    } else if (t == Tool::Circle || t == Tool::Rect) {
        inlinie = false;
        host_.fullRepaint();
        Bezeichnungeingeben();
        pointerOption();
    } else if (t == Tool::Massstab) {
        inlinie = false;
        doc_.scale.mas1 = dist;
        doc_.scale.mas2 = dist;
        host_.numerisch();
        pointerOption();
    }
}

void Interaction::rightClick() {
    inlinie = false;
    if (host_.tool() == Tool::Polygon) {
        Telemente* e = last();
        if (e && vertexCount(*e) > 0) {
            const Tvert first = vertexAt(*e, 0);
            doc_.elemente.appendVertex(*e, first.x, first.y);
        }
    }
    host_.fullRepaint();
    Bezeichnungeingeben();
    pointerOption();
}

void Interaction::Bezeichnungeingeben() {
    if (!host_.askLabelOption())
        return;
    if (!last())
        return;
    std::u16string text;
    if (!dialogs_.askLabel(text))
        return;
    Telemente* e = last(); // the dialog is modal, but look again all the same
    if (!e)
        return;
    replacename(e->name, text);
    host_.fullRepaint();
}

void Interaction::textClick(int X, int Y) {
    const Pt p = picture(X, Y);
    startx = endx = p.x;
    starty = endy = p.y;
    std::u16string text;
    if (dialogs_.askLabel(text)) {
        if (Telemente* e = doc_.elemente.append()) {
            e->typ = typText;
            e->x1 = e->x2 = p.x;
            e->y1 = e->y2 = p.y;
            storename(e->name, text);
        }
    }
    host_.fullRepaint();
    pointerOption();
}

void Interaction::pointerPress(int X, int Y) {
    ElementList& list = doc_.elemente;
    dragpoint = false;
    for (int i = 0; i < list.count(); ++i) {
        Telemente& e = list.at(i);
        e.dragvert = e.dragit1 = e.dragit2 = e.dragit3 = e.dragit4 = false;
    }
    const Pt p = picture(X, Y);
    dragx = p.x;
    dragy = p.y;
    const View v = host_.view();
    const int vx = X + v.h, vy = Y + v.v;
    for (int i = 0; i < list.count(); ++i) {
        Telemente& e = list.at(i);
        if (!e.selected)
            continue;
        const int handles = e.typ == typAbstand || e.typ == typMassstab                       ? 3
                            : e.typ == typRechteck || e.typ == typEllipse || e.typ == typText ? 2
                                                                                              : 0;
        double* pts[3][2] = {{&e.x1, &e.y1}, {&e.x2, &e.y2}, {&e.x3, &e.y3}};
        double* origins[3][2] = {{&e.ox1, &e.oy1}, {&e.ox2, &e.oy2}, {&e.ox3, &e.oy3}};
        bool* flags[3] = {&e.dragit1, &e.dragit2, &e.dragit3};
        for (int k = 0; k < handles; ++k) {
            if (clickonpunkt(vx, vy, *pts[k][0], *pts[k][1], v.z)) {
                *flags[k] = true;
                *origins[k][0] = *pts[k][0];
                *origins[k][1] = *pts[k][1];
                dragpoint = true;
            }
        }
        if (e.typ == typPolygon || e.typ == typStrecke) {
            for (int j = 0; j < vertexCount(e); ++j) {
                const Tvert& t = vertexAt(e, j);
                if (clickonpunkt(vx, vy, t.x, t.y, v.z)) {
                    e.dragvert = true;
                    e.dragvertnr = j;
                    e.ox1 = t.x;
                    e.oy1 = t.y;
                    dragpoint = true;
                }
            }
        }
    }
    if (dragpoint)
        return;
    list.unselectall();
    for (int i = 0; i < list.count(); ++i) {
        if (hitsOutline(i, X, Y)) {
            list.at(i).selected = true;
            inmove = true;
            movex = X;
            movey = Y;
            moveobj = i;
            break;
        }
    }
    host_.fullRepaint();
}

bool Interaction::hitsOutline(int i, int X, int Y) {
    Telemente& e = doc_.elemente.at(i);
    const View v = host_.view();
    const float mx = float(X), my = float(Y);
    auto seg = [&](Pt a, Pt b) {
        const Pt wa = v.S(a), wb = v.S(b);
        return ClickOnline(float(wa.x), float(wa.y), float(wb.x), float(wb.y), mx, my, 5.0f);
    };
    switch (e.typ) {
    case typRechteck:
        return seg({e.x1, e.y1}, {e.x2, e.y1}) || seg({e.x1, e.y2}, {e.x2, e.y2}) ||
               seg({e.x1, e.y1}, {e.x1, e.y2}) || seg({e.x2, e.y1}, {e.x2, e.y2});
    case typEllipse: {
        const Pt c{e.x1 + (e.x2 - e.x1) / 2, e.y1 + (e.y2 - e.y1) / 2};
        const double a = (e.x2 - e.x1) / 2, b = (e.y2 - e.y1) / 2;
        auto q = [&](int k) {
            return Pt{c.x + a * std::sin(2 * kPi * k / 50), c.y + b * std::cos(2 * kPi * k / 50)};
        };
        for (int k = 1; k <= 50; ++k)
            if (seg(q(k - 1), q(k)))
                return true;
        return false;
    }
    case typAbstand:
    case typMassstab: {
        const Pt p1{e.x1, e.y1}, p2{e.x2, e.y2}, p3{e.x3, e.y3};
        const double len = std::hypot(e.x2 - e.x1, e.y2 - e.y1);
        if (len == 0) {
            // No direction for a dimension line: its end point and the line to p3 are hit.
            const Pt w = v.S(p1);
            return std::hypot(w.x - X, w.y - Y) <= 5 || seg(p1, p3);
        }
        const Pt n{(e.y1 - e.y2) / len, (e.x2 - e.x1) / len};
        const Pt o = n * linienabstand(e.x1, e.y1, e.x2, e.y2, e.x3, e.y3);
        return seg(p1 + o, p2 + o) || seg(p1, p1 + o) || seg(p2, p2 + o);
    }
    case typPolygon:
    case typStrecke:
        for (int k = 1; k < vertexCount(e); ++k) {
            const Tvert a = vertexAt(e, k - 1), b = vertexAt(e, k);
            e.x1 = a.x;
            e.y1 = a.y;
            e.x2 = b.x;
            e.y2 = b.y;
            if (seg({a.x, a.y}, {b.x, b.y}))
                return true;
        }
        return false;
    case typText: {
        const TextSize t = host_.labelExtent(labelOf(e));
        const Pt w = v.S(e.x1, e.y1);
        return clickinbox(X, Y, int(w.x), int(w.y) - t.height, int(w.x) + t.width, int(w.y));
    }
    default:
        return false;
    }
}

void Interaction::moveShift(Telemente& e, double dx, double dy) {
    e.x1 += dx;
    e.y1 += dy;
    e.x2 += dx;
    e.y2 += dy;
    e.x3 += dx;
    e.y3 += dy;
    for (int k = 0; k < vertexCount(e); ++k) {
        Tvert& t = vertexAt(e, k);
        t.x += dx;
        t.y += dy;
    }
}

void Interaction::PaintBox1MouseMove(int X, int Y) {
    ElementList& list = doc_.elemente;
    const Tool t = host_.tool();
    if (inmove) {
        if (moveobj >= list.count()) { // the list changed under the move
            inmove = false;
            return;
        }
        Telemente& e = list.at(moveobj);
        const double z = host_.view().z;
        // Shown moved, stored unchanged: the coordinates are put back exactly afterwards.
        const Telemente saved = e;
        std::vector<Tvert> vertices;
        for (int k = 0; k < vertexCount(e); ++k)
            vertices.push_back(vertexAt(e, k));
        moveShift(e, (X - movex) * 100.0 / z, (Y - movey) * 100.0 / z);
        host_.fullRepaint();
        Telemente& again = list.at(moveobj);
        again.x1 = saved.x1;
        again.y1 = saved.y1;
        again.x2 = saved.x2;
        again.y2 = saved.y2;
        again.x3 = saved.x3;
        again.y3 = saved.y3;
        for (int k = 0; k < vertexCount(again) && k < int(vertices.size()); ++k)
            vertexAt(again, k) = vertices[std::size_t(k)];
    } else if (inhand) {
        host_.setScroll(ooffx + dragxx - X, ooffy + dragyy - Y);
    } else if (t == Tool::Text) {
        const std::u16string word = host_.beschriftung();
        host_.preview([&](Canvas& c, const RenderContext& ctx) {
            const LabelFont& font = ctx.settings.font;
            c.setFont(font, scaledFontHeight(font.height, ctx.view.z), 0);
            c.setTextColor(font.color);
            const TextSize ts = c.textExtent(word);
            mytextout(c, X, Y - ts.height, word, ctx.settings.outline);
        });
    } else if (dragpoint) {
        const Pt p = picture(X, Y);
        sx = p.x - dragx;
        sy = p.y - dragy;
        for (int i = 0; i < list.count(); ++i) {
            Telemente& e = list.at(i);
            const int n = vertexCount(e);
            if (e.dragvert && e.dragvertnr >= 0 && e.dragvertnr < n) {
                const Tvert moved{e.ox1 + sx, e.oy1 + sy};
                if (e.typ == typPolygon) {
                    if (e.dragvertnr == 0)
                        vertexAt(e, n - 1) = moved;
                    if (e.dragvertnr == n - 1)
                        vertexAt(e, 0) = moved;
                }
                vertexAt(e, e.dragvertnr) = moved;
            }
            if (e.dragit1) {
                e.x1 = e.ox1 + sx;
                e.y1 = e.oy1 + sy;
            }
            if (e.dragit2) {
                e.x2 = e.ox2 + sx;
                e.y2 = e.oy2 + sy;
            }
            if (e.dragit3) {
                e.x3 = e.ox3 + sx;
                e.y3 = e.oy3 + sy;
            }
            if (e.dragit4) {
                e.x4 = e.ox4 + sx;
                e.y4 = e.oy4 + sy;
            }
        }
        host_.fullRepaint();
    } else if (inlinie) {
        const bool distanceTool = t == Tool::Dimension || t == Tool::Schraeg;
        if (distanceTool && lastnr >= 1) {
            Telemente* e = last();
            if (!e)
                return;
            const Pt p = picture(X, Y);
            e->x3 = p.x;
            e->y3 = p.y;
            host_.fullRepaint();
            return;
        }
        const Pt p = picture(X, Y);
        tempx = p.x;
        tempy = p.y;
        if (!keys_.ctrlDown())
            snap(X, Y, tempx, tempy);
        const bool box = t == Tool::Circle || t == Tool::Rect;
        if (box && keys_.leftCtrlDown())
            squareConstraint(tempx, tempy);
        if (!box)
            lineConstraint(t, tempx, tempy);
        host_.preview([&](Canvas& c, const RenderContext& ctx) {
            c.setPen(ctx.settings.lineColor, ctx.penWidth());
            const Pt a = ctx.view.S(startx, starty), b = ctx.view.S(tempx, tempy);
            if (box) {
                c.setBrushClear();
                if (t == Tool::Circle)
                    c.ellipse(a, b);
                else
                    c.rectangle(a, b);
                c.setBrushSolid();
            } else {
                c.line(a, b);
            }
        });
    }
}

void Interaction::PaintBox1MouseUp(MouseButton, int X, int Y) {
    if (inmove) {
        inmove = false;
        ElementList& list = doc_.elemente;
        if (moveobj < list.count()) {
            const double z = host_.view().z;
            moveShift(list.at(moveobj), (X - movex) * 100.0 / z, (Y - movey) * 100.0 / z);
        }
    }
    inhand = false;
    if (dragpoint) {
        dragpoint = false;
        host_.fullRepaint();
    }
}

void Interaction::endMoveAndDrag() {
    // The stored element is unchanged during a move: ending it drops the preview shift.
    inmove = false;
    dragpoint = false;
}

void Interaction::Lschen1Click() {
    endMoveAndDrag();
    doc_.elemente.removeSelected();
    host_.fullRepaint();
}

void Interaction::Kopieren1Click() {
    doc_.elemente.copySelectedToKopie();
    host_.fullRepaint();
}

void Interaction::Einfgen1Click() {
    ElementList& list = doc_.elemente;
    if (!list.kopiert)
        return;
    list.unselectall();
    Telemente* e = list.appendCopy(list.kopie);
    if (!e)
        return;
    const double d = 1000.0 / host_.view().z;
    e->x1 += d;
    e->y1 += d;
    e->x2 += d;
    e->y2 += d;
    for (int k = 0; k < vertexCount(*e); ++k) {
        Tvert& t = vertexAt(*e, k);
        t.x += d;
        t.y += d;
    }
    host_.fullRepaint();
}

void Interaction::Beschreibungbearbeiten1Click() {
    ElementList& list = doc_.elemente;
    for (int i = list.count() - 1; i >= 0; --i) {
        if (i >= list.count() || !list.at(i).selected)
            continue;
        std::u16string text(labelOf(list.at(i)));
        if (dialogs_.askLabel(text) && i < list.count())
            replacename(list.at(i).name, text);
    }
    host_.fullRepaint();
}

} // namespace pm
