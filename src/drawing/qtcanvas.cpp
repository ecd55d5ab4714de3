#include "drawing/qtcanvas.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QTextLayout>

#include <cstring>

namespace pm {

namespace {
QColor qc(Rgb c) {
    return QColor(c.r, c.g, c.b);
}
QPointF qp(Pt p) {
    return QPointF(p.x, p.y);
}
QString qstr(std::u16string_view s) {
    return QString::fromUtf16(s.data(), qsizetype(s.size()));
}

// Liang-Barsky: the part of the segment a-b inside r; false when none.
bool clipSegment(const QRectF& r, QPointF& a, QPointF& b) {
    const double dx = b.x() - a.x(), dy = b.y() - a.y();
    double t0 = 0, t1 = 1;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x() - r.left(), r.right() - a.x(), a.y() - r.top(), r.bottom() - a.y()};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0)
                return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1)
            return false;
    }
    const QPointF a0 = a;
    a = a0 + QPointF(dx, dy) * t0;
    b = a0 + QPointF(dx, dy) * t1;
    return true;
}

QRectF boundsOf(const std::vector<Pt>& points) {
    if (points.empty())
        return {};
    double x0 = points[0].x, x1 = x0, y0 = points[0].y, y1 = y0;
    for (const Pt& p : points) {
        x0 = std::min(x0, p.x);
        x1 = std::max(x1, p.x);
        y0 = std::min(y0, p.y);
        y1 = std::max(y1, p.y);
    }
    return QRectF(QPointF(x0, y0), QPointF(x1, y1));
}
} // namespace

GlyphCache::PerFont& GlyphCache::forFont(const QFont& font) {
    if (size_ > 50000) { // a bound for sessions that label a great deal
        fonts_.clear();
        size_ = 0;
    }
    return fonts_[font.key()];
}

const GlyphCache::Shaped& GlyphCache::get(PerFont& texts, const QFont& font,
                                          std::u16string_view text) {
    auto it = texts.find(text);
    if (it != texts.end())
        return it->second;
    QTextLayout layout(qstr(text), font);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    layout.endLayout();
    Shaped s;
    s.runs = layout.glyphRuns();
    s.width = line.isValid() ? qRound(line.horizontalAdvance()) : 0;
    ++size_;
    return texts.emplace(std::u16string(text), std::move(s)).first->second;
}

QPainterCanvas::QPainterCanvas(QPainter& painter, GlyphCache* cache, bool textAsText)
    : p_(painter), cache_(cache ? cache : &ownCache_), textAsText_(textAsText) {
    // Lines land on whole pixels as on the screen of old; only text is smoothed.
    p_.setRenderHint(QPainter::Antialiasing, false);
    p_.setRenderHint(QPainter::TextAntialiasing, true);
    if (const QPaintDevice* dev = p_.device()) {
        bool invertible = false;
        const QTransform back = p_.combinedTransform().inverted(&invertible);
        if (invertible && dev->width() > 0 && dev->height() > 0)
            visible_ = back.mapRect(QRectF(0, 0, dev->width(), dev->height()));
    }
    applyPen();
    applyBrush();
}

bool QPainterCanvas::missed(const QRectF& bounds) const {
    if (visible_.isEmpty())
        return false;
    const double m = penWidth_ + 2;
    return !visible_.intersects(bounds.adjusted(-m, -m, m, m));
}

void QPainterCanvas::applyPen() {
    p_.setPen(QPen(qc(pen_), penWidth_, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
}

void QPainterCanvas::applyBrush() {
    p_.setBrush(brushSolid_ ? QBrush(qc(brush_)) : QBrush(Qt::NoBrush));
}

void QPainterCanvas::setPen(Rgb color, int width) {
    pen_ = color;
    penWidth_ = width < 1 ? 1 : width;
    applyPen();
}

void QPainterCanvas::setBrush(Rgb color) {
    brush_ = color;
    brushSolid_ = true;
}

void QPainterCanvas::line(Pt a, Pt b) {
    QPointF from = qp(a), to = qp(b);
    if (!visible_.isEmpty()) {
        // Cut the segment to the visible area widened by the pen, so that lines a million
        // pixels long at high zoom cost what their visible part costs.
        const double m = penWidth_ + 2;
        const QRectF area = visible_.adjusted(-m, -m, m, m);
        if (!area.contains(from) || !area.contains(to)) {
            if (!clipSegment(area, from, to))
                return;
        }
    }
    p_.drawLine(from, to);
}

void QPainterCanvas::polyline(const std::vector<Pt>& points) {
    if (missed(boundsOf(points)))
        return;
    QPolygonF poly;
    poly.reserve(qsizetype(points.size()));
    for (const Pt& p : points)
        poly << qp(p);
    p_.drawPolyline(poly);
}

void QPainterCanvas::rectangle(Pt a, Pt b) {
    const QRectF r = QRectF(qp(a), qp(b)).normalized();
    if (missed(r))
        return;
    if (!brushSolid_ && !visible_.isEmpty() && !visible_.contains(r)) {
        // An outline reaching past the visible area: its four sides, each cut to it.
        line({r.left(), r.top()}, {r.right(), r.top()});
        line({r.right(), r.top()}, {r.right(), r.bottom()});
        line({r.right(), r.bottom()}, {r.left(), r.bottom()});
        line({r.left(), r.bottom()}, {r.left(), r.top()});
        return;
    }
    applyBrush();
    p_.drawRect(r);
}

void QPainterCanvas::ellipse(Pt a, Pt b) {
    const QRectF r = QRectF(qp(a), qp(b)).normalized();
    if (missed(r))
        return;
    applyBrush();
    p_.drawEllipse(r);
}

void QPainterCanvas::bezier(Pt p0, Pt c1, Pt c2, Pt p3) {
    if (missed(boundsOf({p0, c1, c2, p3}))) // a Bezier curve stays inside its control points
        return;
    QPainterPath path(qp(p0));
    path.cubicTo(qp(c1), qp(c2), qp(p3));
    p_.strokePath(path, p_.pen());
}

void QPainterCanvas::fillPolygon(const std::vector<Pt>& points) {
    if (missed(boundsOf(points)))
        return;
    QPolygonF poly;
    for (const Pt& p : points)
        poly << qp(p);
    p_.setPen(Qt::NoPen);
    p_.setBrush(qc(brush_));
    p_.drawPolygon(poly);
    applyPen();
}

QFont qtFont(const LabelFont& font, int height) {
    QFont f(qstr(font.face));
    f.setBold(font.bold);
    f.setItalic(font.italic);
    if (height < 0) {
        f.setPixelSize(-height);
    } else if (height > 0) {
        // A cell height includes the internal leading: scale by the face's own proportions.
        f.setPixelSize(100);
        const QFontMetricsF m(f);
        const double cell = m.ascent() + m.descent();
        f.setPixelSize(std::max(1, int(height * 100.0 / (cell > 0 ? cell : 100.0) + 0.5)));
    }
    return f;
}

void QPainterCanvas::setFont(const LabelFont& font, int height, int escapement) {
    // Rotated label fonts are never underlined or struck out.
    const bool lines = escapement == 0;
    const bool same = fontSet_ && height == fontHeight_ && font.face == fontSpec_.face &&
                      font.bold == fontSpec_.bold && font.italic == fontSpec_.italic &&
                      (lines && font.underline) == font_.underline() &&
                      (lines && font.strikeout) == font_.strikeOut();
    escapement_ = escapement;
    if (same)
        return;
    font_ = qtFont(font, height);
    font_.setUnderline(lines && font.underline);
    font_.setStrikeOut(lines && font.strikeout);
    metrics_.emplace(font_);
    texts_ = &cache_->forFont(font_);
    lastShaped_ = nullptr;
    fontSpec_ = font;
    fontHeight_ = height;
    fontSet_ = true;
}

const GlyphCache::Shaped& QPainterCanvas::shaped(std::u16string_view text) {
    if (lastShaped_ && text == lastText_)
        return *lastShaped_;
    if (!texts_)
        texts_ = &cache_->forFont(font_);
    lastShaped_ = &cache_->get(*texts_, font_, text);
    lastText_.assign(text);
    return *lastShaped_;
}

TextSize QPainterCanvas::textExtent(std::u16string_view text) {
    if (!metrics_)
        metrics_.emplace(font_);
    return {text.empty() ? 0 : shaped(text).width, metrics_->height()};
}

void QPainterCanvas::textOut(double x, double y, std::u16string_view text) {
    if (text.empty())
        return;
    if (!metrics_)
        metrics_.emplace(font_);
    const GlyphCache::Shaped& s = shaped(text);
    // Skip texts whose box (turned about its corner) misses the device.
    const double reach = s.width + metrics_->height();
    if (!visible_.isEmpty() &&
        !visible_.intersects(QRectF(x - reach, y - reach, 2 * reach, 2 * reach)))
        return;
    p_.setPen(qc(text_));
    if (escapement_ == 0 && !textAsText_) {
        // Upright text needs no turned coordinate system.
        for (const QGlyphRun& run : s.runs)
            p_.drawGlyphRun(QPointF(x, y), run);
    } else {
        const QTransform saved = p_.transform();
        p_.translate(x, y);
        if (escapement_ != 0)
            p_.rotate(-escapement_ / 10.0);
        if (textAsText_) {
            p_.setFont(font_);
            p_.drawText(QPointF(0, metrics_->ascent()), qstr(text));
        } else {
            for (const QGlyphRun& run : s.runs)
                p_.drawGlyphRun(QPointF(0, 0), run);
        }
        p_.setTransform(saved);
    }
    applyPen();
}

QImage dibToQImage(const dib& d) {
    const int w = dibwidth(d), h = dibheight(d), bits = dibbitcount(d);
    if (!d.poi || w <= 0 || h <= 0)
        return {};
    QImage::Format format = bits == 24  ? QImage::Format_RGB888
                            : bits == 1 ? QImage::Format_Mono
                                        : QImage::Format_Indexed8;
    QImage img(w, h, format);
    if (img.isNull())
        return {};
    if (bits <= 8) {
        QList<QRgb> table;
        const std::uint8_t* e = dibPalette(d);
        for (int i = 0; i < dibPaletteEntries(d); ++i)
            table << qRgb(e[4 * i + 2], e[4 * i + 1], e[4 * i]);
        img.setColorTable(table);
    }
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* src = d.poi + std::size_t(h - 1 - y) * std::size_t(d.bytew);
        uchar* dst = img.scanLine(y);
        switch (bits) {
        case 24:
            for (int x = 0; x < w; ++x) {
                dst[3 * x] = src[3 * x + 2];
                dst[3 * x + 1] = src[3 * x + 1];
                dst[3 * x + 2] = src[3 * x];
            }
            break;
        case 1:
            std::memcpy(dst, src, std::size_t((w + 7) / 8));
            break;
        case 4:
            for (int x = 0; x < w; ++x)
                dst[x] = (x & 1) ? src[x >> 1] & 0x0F : src[x >> 1] >> 4;
            break;
        default:
            std::memcpy(dst, src, std::size_t(w));
            break;
        }
    }
    return img;
}

bool PainterDibDevice::stretchDIBits(int x, int y, int dw, int dh, const dib& d, int sx, int sy,
                                     int sw, int sh, RasterOp) {
    const QImage img = dibToQImage(d);
    if (img.isNull())
        return false;
    // sy counts rows from the bottom.
    const QRectF source(sx, dibheight(d) - sy - sh, sw, sh);
    p_.drawImage(QRectF(x, y, dw, dh), img, source);
    return true;
}

bool PainterDibDevice::setDIBitsToDevice(int x, int y, const dib& d) {
    const QImage img = dibToQImage(d);
    if (img.isNull())
        return false;
    p_.drawImage(QPointF(x, y), img);
    return true;
}

DibDevice::BitmapResult PainterDibDevice::blitThroughBitmap(int x, int y, int dw, int dh,
                                                            const dib& d, int sx, int sy, int sw,
                                                            int sh, RasterOp rop) {
    return stretchDIBits(x, y, dw, dh, d, sx, sy, sw, sh, rop) ? BitmapResult::Ok
                                                               : BitmapResult::NoBitmap;
}

PixelSurface surfaceOf(QImage& image) {
    return {reinterpret_cast<std::uint32_t*>(image.bits()), image.width(), image.height(),
            int(image.bytesPerLine() / 4)};
}

} // namespace pm
