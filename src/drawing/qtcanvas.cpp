#include "drawing/qtcanvas.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

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
} // namespace

QPainterCanvas::QPainterCanvas(QPainter& painter) : p_(painter) {
    // Lines land on whole pixels as on the screen of old; only text is smoothed.
    p_.setRenderHint(QPainter::Antialiasing, false);
    p_.setRenderHint(QPainter::TextAntialiasing, true);
    applyPen();
    applyBrush();
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
    p_.drawLine(qp(a), qp(b));
}

void QPainterCanvas::polyline(const std::vector<Pt>& points) {
    QPolygonF poly;
    poly.reserve(qsizetype(points.size()));
    for (const Pt& p : points)
        poly << qp(p);
    p_.drawPolyline(poly);
}

void QPainterCanvas::rectangle(Pt a, Pt b) {
    applyBrush();
    p_.drawRect(QRectF(qp(a), qp(b)).normalized());
}

void QPainterCanvas::ellipse(Pt a, Pt b) {
    applyBrush();
    p_.drawEllipse(QRectF(qp(a), qp(b)).normalized());
}

void QPainterCanvas::bezier(Pt p0, Pt c1, Pt c2, Pt p3) {
    QPainterPath path(qp(p0));
    path.cubicTo(qp(c1), qp(c2), qp(p3));
    p_.strokePath(path, p_.pen());
}

void QPainterCanvas::fillPolygon(const std::vector<Pt>& points) {
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
    font_ = qtFont(font, height);
    // Rotated label fonts are never underlined or struck out.
    font_.setUnderline(escapement == 0 && font.underline);
    font_.setStrikeOut(escapement == 0 && font.strikeout);
    metrics_.emplace(font_);
    escapement_ = escapement;
}

TextSize QPainterCanvas::textExtent(std::u16string_view text) {
    if (!metrics_)
        metrics_.emplace(font_);
    return {metrics_->horizontalAdvance(qstr(text)), metrics_->height()};
}

void QPainterCanvas::textOut(double x, double y, std::u16string_view text) {
    if (text.empty())
        return;
    if (!metrics_)
        metrics_.emplace(font_);
    p_.save();
    p_.setFont(font_);
    p_.setPen(qc(text_));
    p_.translate(x, y);
    if (escapement_ != 0)
        p_.rotate(-escapement_ / 10.0);
    p_.drawText(QPointF(0, metrics_->ascent()), qstr(text));
    p_.restore();
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
