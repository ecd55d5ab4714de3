#include "drawing/render.h"

#include "drawing/geometry.h"
#include "drawing/numfmt.h"

#include <algorithm>
#include <cmath>

namespace pm {

namespace {

Pt p1Of(const Telemente& e) {
    return {e.x1, e.y1};
}
Pt p2Of(const Telemente& e) {
    return {e.x2, e.y2};
}
Pt p3Of(const Telemente& e) {
    return {e.x3, e.y3};
}
Pt p4Of(const Telemente& e) {
    return {e.x4, e.y4};
}
double norm(Pt p) {
    return std::sqrt(p.x * p.x + p.y * p.y);
}

} // namespace

int RenderContext::penWidth() const {
    const int w = int(R(settings.lineWidth * view.z / 100.0));
    return w == 0 ? 1 : w;
}

ArrowVectors arrowVectors(Pt d, double len, double a, bool path, int z) {
    const double ha = a * 7.0 / 30.0;
    const bool tooLong = path ? z * (2 * a + 2 * ha) / 100.0 > len : 2 * a + 2 * ha > len;
    const double length = tooLong ? len / 3.0 : a;
    const double half = tooLong ? (len / 3.0) * ha / a : ha;
    ArrowVectors v{d * (length / len), Pt{-d.y, d.x} * (half / len)};
    if (path) {
        v.L = v.L * (z / 100.0);
        v.Q = v.Q * (z / 100.0);
    }
    return v;
}

int scaledFontHeight(int height, int z) {
    const int h = int(R(double(z) * height / 100.0));
    return h == 0 ? 1 : h;
}

std::u16string valueText(const Telemente& e, std::u16string_view unit, const LabelTexts& texts) {
    const std::u16string u(unit);
    switch (e.typ) {
    case typRechteck:
    case typEllipse:
    case typPolygon:
        return formatFixed16(e.flaeche, 4) + u" " + u + u"²";
    case typAbstand:
        if (e.x4 == 0)
            return formatFixed16(e.lang, 2) + u" " + u;
        return formatFixed16(e.lang, 2) + u" " + u + u" (" + formatFixed16(e.x4, 2) + u"° " +
               texts.neigung + u")";
    case typMassstab:
        return texts.m + u": " + formatFixed16(e.lang, 2) + u" " + u;
    case typStrecke:
        return formatFixed16(e.lang, 4) + u" " + u;
    default:
        return {};
    }
}

void endpunkt(Canvas& c, const RenderContext& ctx, Pt at) {
    if (ctx.settings.noendpunkte || ctx.settings.handTool)
        return;
    const Rgb color = c.penColor();
    const int width = c.penWidth();
    auto square = [&](double r) {
        c.polyline({{at.x - r, at.y - r},
                    {at.x + r, at.y - r},
                    {at.x + r, at.y + r},
                    {at.x - r, at.y + r},
                    {at.x - r, at.y - r}});
    };
    c.setPen(kWhite, 1);
    square(3);
    c.setPen(kBlack, 1);
    square(4);
    c.setPen(color, width);
}

void mytextout(Canvas& c, double x, double y, std::u16string_view text, bool outline) {
    if (outline) {
        const Rgb color = c.textColor();
        const int m = (color.r + color.g + color.b) / 3;
        c.setTextColor(m >= 128 ? kBlack : kWhite);
        for (int i = -3; i <= 3; ++i)
            for (int j = -3; j <= 3; ++j)
                c.textOut(x + i, y + j, text);
        c.setTextColor(color);
    }
    c.textOut(x, y, text);
}

void boxLabel(Canvas& c, const RenderContext& ctx, const Telemente& e, double minX, double,
              double maxX, double maxY, std::u16string_view value) {
    const LabelFont& font = ctx.settings.font;
    c.setFont(font, scaledFontHeight(font.height, ctx.view.z), 0);
    c.setTextColor(font.color);
    const double cx = R((maxX - minX) / 2 + minX);
    const TextSize tv = c.textExtent(value);
    mytextout(c, cx - tv.width / 2, maxY, value, ctx.settings.outline);
    const std::u16string_view name = labelOf(e);
    const TextSize tn = c.textExtent(name);
    mytextout(c, cx - tn.width / 2, maxY + tv.height, name, ctx.settings.outline);
}

void lineLabel(Canvas& c, const RenderContext& ctx, const Telemente& e, Pt p1, Pt p2, Pt offset,
               std::u16string_view value) {
    const View& view = ctx.view;
    const double z = view.z;
    const Pt d = p2 - p1;
    double len = norm(d);
    if (len == 0)
        len = 1;
    const Pt u = d / len;
    const Pt p{-u.y, u.x};
    double phi = std::atan2(d.y, d.x) * 180.0 / kPi;
    bool flipped = false;
    if (phi < -75) {
        phi += 180;
        flipped = true;
    }
    if (phi > 105) {
        phi -= 180;
        flipped = true;
    }
    const LabelFont& font = ctx.settings.font;
    c.setFont(font, int(R(z * font.height / 100.0)), int(R(-phi * 10)));
    c.setTextColor(font.color);
    const TextSize tv = c.textExtent(value);
    const Pt mid = (p1 + p2) / 2 + offset;
    auto shift = [&](double hw, double g) { return flipped ? u * -hw + p * g : u * hw - p * g; };

    const double g = z * ctx.halfWidth() / 100.0;
    const Pt at1 = view.S(mid - shift(tv.width * 100.0 / z / 2, g));
    mytextout(c, at1.x, at1.y, value, ctx.settings.outline);

    const std::u16string_view name = labelOf(e);
    const TextSize tn = c.textExtent(name);
    const double g2 = tv.height * 100.0 / z + z * ctx.halfWidth() / 100.0;
    // Paths take the name's width in window pixels as picture units, as they always have.
    const double hw2 = e.typ == typStrecke ? tn.width / 2.0 : tn.width * 100.0 / z / 2;
    const Pt at2 = view.S(mid - shift(hw2, g2));
    mytextout(c, at2.x, at2.y, name, ctx.settings.outline);
    c.setFont(font, scaledFontHeight(font.height, view.z), 0);
}

void textLabel(Canvas& c, const RenderContext& ctx, Telemente& e) {
    const LabelFont& font = ctx.settings.font;
    c.setFont(font, scaledFontHeight(font.height, ctx.view.z), 0);
    c.setTextColor(font.color);
    const std::u16string_view text = labelOf(e);
    const TextSize t = c.textExtent(text);
    const Pt at = ctx.view.S(p1Of(e));
    mytextout(c, at.x, at.y - t.height, text, ctx.settings.outline);
    e.x2 = e.x1 + t.width * 100.0 / ctx.view.z;
    e.y2 = e.y1 - t.height * 100.0 / ctx.view.z;
}

namespace {

void drawDistance(Canvas& c, const RenderContext& ctx, Telemente& e, const Scale& scale,
                  MeasureSums& sums) {
    const View& v = ctx.view;
    const Rgb color = ctx.settings.lineColor;
    c.setPen(color, ctx.penWidth());
    c.setBrush(color);
    const Pt p1 = p1Of(e), p2 = p2Of(e), p3 = p3Of(e);
    const Pt d = p2 - p1;
    double len = norm(d);
    if (len == 0)
        len = 1;
    const ArrowVectors av = arrowVectors(d, len, ctx.settings.arrowLength, false, v.z);
    Pt n{e.y1 - e.y2, e.x2 - e.x1};
    const double nl = norm(n);
    n = n / (nl == 0 ? 1 : nl);
    const double s = linienabstand(e.x1, e.y1, e.x2, e.y2, e.x3, e.y3);
    const Pt O = n * s;
    Pt E, F;
    const double ol = norm(O);
    if (ol == 0) {
        E = av.Q;
        F = av.Q;
    } else {
        E = O * (ctx.halfWidth() / ol);
        F = std::fabs(E.x) > std::fabs(O.x) ? E : Pt{0, 0};
    }
    c.line(v.S(p1 + O), v.S(p2 + O));
    c.line(v.S(p1 - F), v.S(p1 + O + E));
    c.line(v.S(p2 - F), v.S(p2 + O + E));
    c.setPen(color, 1);
    c.fillPolygon({v.S(p1 + O), v.S(p1 + O + av.Q + av.L), v.S(p1 + O - av.Q + av.L)});
    c.fillPolygon({v.S(p2 + O), v.S(p2 + O + av.Q - av.L), v.S(p2 + O - av.Q - av.L)});
    CalcElement(e, scale, sums);
    lineLabel(c, ctx, e, p1, p2, O, valueText(e, *ctx.unit, ctx.texts));
    if (e.selected) {
        endpunkt(c, ctx, v.S(p1));
        endpunkt(c, ctx, v.S(p2));
        endpunkt(c, ctx, v.S(p3));
    }
}

void drawBox(Canvas& c, const RenderContext& ctx, Telemente& e, const Scale& scale,
             MeasureSums& sums) {
    const View& v = ctx.view;
    const Pt a = v.S(p1Of(e)), b = v.S(p2Of(e));
    if (e.selected) {
        endpunkt(c, ctx, a);
        endpunkt(c, ctx, b);
    }
    c.setPen(ctx.settings.lineColor, ctx.penWidth());
    c.setBrushClear();
    if (e.typ == typRechteck)
        c.rectangle(a, b);
    else
        c.ellipse(a, b);
    c.setBrushSolid();
    CalcElement(e, scale, sums);
    boxLabel(c, ctx, e, std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x),
             std::max(a.y, b.y), valueText(e, *ctx.unit, ctx.texts));
}

void pathArrow(Canvas& c, const RenderContext& ctx, Pt p1, Pt p2, bool atStart) {
    const View& v = ctx.view;
    const Rgb color = ctx.settings.lineColor;
    c.setBrush(color);
    const Pt d = p2 - p1;
    double len = norm(d);
    if (len == 0)
        len = 1;
    const ArrowVectors av = arrowVectors(d, len, ctx.settings.arrowLength, true, v.z);
    const Pt tip = atStart ? p1 : p2;
    const Pt back = atStart ? av.L : Pt{0, 0} - av.L;
    c.line(v.S(tip - av.Q), v.S(tip + av.Q));
    c.setPen(color, 1);
    c.fillPolygon({v.S(tip), v.S(tip + av.Q + back), v.S(tip - av.Q + back)});
}

void drawChain(Canvas& c, const RenderContext& ctx, Telemente& e, const Scale& scale,
               MeasureSums& sums) {
    const View& v = ctx.view;
    c.setPen(ctx.settings.lineColor, ctx.penWidth());
    const int n = vertexCount(e);
    std::vector<Pt> pts;
    pts.reserve(std::size_t(n));
    double minX = 0, minY = 0, maxX = 0, maxY = 0;
    for (int i = 0; i < n; ++i) {
        const Tvert& t = vertexAt(e, i);
        const Pt w = v.S(t.x, t.y);
        if (i == 0) {
            minX = maxX = w.x;
            minY = maxY = w.y;
        }
        minX = std::min(minX, w.x);
        maxX = std::max(maxX, w.x);
        minY = std::min(minY, w.y);
        maxY = std::max(maxY, w.y);
        pts.push_back(w);
    }
    if (n > 1)
        c.polyline(pts);
    if (e.selected)
        for (const Pt& w : pts)
            endpunkt(c, ctx, w);
    CalcElement(e, scale, sums);
    if (e.typ == typPolygon) {
        if (n > 0)
            boxLabel(c, ctx, e, minX, minY, maxX, maxY, valueText(e, *ctx.unit, ctx.texts));
        return;
    }
    if (n < 2) // a path needs a segment for its heads and label
        return;
    e.x1 = vertexAt(e, 0).x;
    e.y1 = vertexAt(e, 0).y;
    e.x2 = vertexAt(e, 1).x;
    e.y2 = vertexAt(e, 1).y;
    pathArrow(c, ctx, p1Of(e), p2Of(e), true);
    c.setPen(ctx.settings.lineColor, ctx.penWidth());
    e.x1 = vertexAt(e, n - 2).x;
    e.y1 = vertexAt(e, n - 2).y;
    e.x2 = vertexAt(e, n - 1).x;
    e.y2 = vertexAt(e, n - 1).y;
    pathArrow(c, ctx, p1Of(e), p2Of(e), false);
    lineLabel(c, ctx, e, p1Of(e), p2Of(e), {0, 0}, valueText(e, *ctx.unit, ctx.texts));
}

void controlLines(Canvas& c, const std::vector<std::vector<Pt>>& lines) {
    c.setPen(kBlack, 3);
    for (const auto& l : lines)
        c.polyline(l);
    c.setPen(kWhite, 1);
    for (const auto& l : lines)
        c.polyline(l);
}

void drawCurve(Canvas& c, const RenderContext& ctx, const Telemente& e) {
    const View& v = ctx.view;
    const Pt p1 = p1Of(e), p2 = p2Of(e), p3 = p3Of(e), p4 = p4Of(e);
    switch (e.typ) {
    case typLine:
        if (e.nr == 0)
            endpunkt(c, ctx, v.S(p1));
        endpunkt(c, ctx, v.S(p2));
        c.setPen(ctx.settings.lineColor, ctx.penWidth());
        c.line(v.S(p1), v.S(p2));
        break;
    case typQuadCurve:
        if (!ctx.settings.noendpunkte)
            controlLines(c, {{v.S(p1), v.S(p3), v.S(p2)}});
        if (e.nr == 0)
            endpunkt(c, ctx, v.S(p1));
        endpunkt(c, ctx, v.S(p2));
        endpunkt(c, ctx, v.S(p3));
        c.setPen(ctx.settings.lineColor, ctx.penWidth());
        c.bezier(v.S(p1), v.S(p1 + (p3 - p1) * (2.0 / 3.0)), v.S(p3 + (p2 - p3) * (1.0 / 3.0)),
                 v.S(p2));
        break;
    case typCubicCurve:
        if (!ctx.settings.noendpunkte)
            controlLines(c, {{v.S(p1), v.S(p3)}, {v.S(p4), v.S(p2)}});
        if (e.nr == 0)
            endpunkt(c, ctx, v.S(p1));
        endpunkt(c, ctx, v.S(p2));
        endpunkt(c, ctx, v.S(p3));
        endpunkt(c, ctx, v.S(p4));
        c.setPen(ctx.settings.lineColor, ctx.penWidth());
        c.bezier(v.S(p1), v.S(p3), v.S(p4), v.S(p2));
        break;
    default:
        break;
    }
}

} // namespace

void renderElements(Canvas& c, const RenderContext& ctx, ElementList& list, const Scale& scale,
                    MeasureSums& sums) {
    const View& v = ctx.view;
    for (int i = 0; i < list.count(); ++i) {
        Telemente& e = list.at(i);
        switch (e.typ) {
        case typText:
            textLabel(c, ctx, e);
            if (e.selected)
                endpunkt(c, ctx, v.S(p1Of(e)));
            break;
        case typRechteck:
        case typEllipse:
            drawBox(c, ctx, e, scale, sums);
            break;
        case typMassstab:
            if (ctx.settings.showScale)
                drawDistance(c, ctx, e, scale, sums);
            break;
        case typAbstand:
            drawDistance(c, ctx, e, scale, sums);
            break;
        case typPolygon:
        case typStrecke:
            drawChain(c, ctx, e, scale, sums);
            break;
        case typLine:
        case typQuadCurve:
        case typCubicCurve:
            drawCurve(c, ctx, e);
            break;
        default:
            break;
        }
        if (const int k = e.closed ? chainStart(list, i) : -1; k >= 0) {
            c.setPen(ctx.settings.lineColor, ctx.penWidth());
            c.line(v.S(p2Of(e)), v.S(p1Of(list.at(k))));
        }
    }
}

} // namespace pm
