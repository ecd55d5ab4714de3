#pragma once
// The canvas and picture device on QPainter: the screen bitmap, printers, SVG.

#include "drawing/canvas.h"
#include "drawing/dibdraw.h"

#include <QFont>
#include <QFontMetrics>
#include <QImage>

#include <optional>

class QPainter;

namespace pm {

class QPainterCanvas : public Canvas {
public:
    explicit QPainterCanvas(QPainter& painter);

    void setPen(Rgb color, int width) override;
    Rgb penColor() const override { return pen_; }
    int penWidth() const override { return penWidth_; }
    void setBrush(Rgb color) override;
    void setBrushClear() override { brushSolid_ = false; }
    void setBrushSolid() override { brushSolid_ = true; }
    void line(Pt a, Pt b) override;
    void polyline(const std::vector<Pt>& points) override;
    void rectangle(Pt a, Pt b) override;
    void ellipse(Pt a, Pt b) override;
    void bezier(Pt p0, Pt c1, Pt c2, Pt p3) override;
    void fillPolygon(const std::vector<Pt>& points) override;
    void setFont(const LabelFont& font, int height, int escapement) override;
    TextSize textExtent(std::u16string_view text) override;
    void setTextColor(Rgb color) override { text_ = color; }
    Rgb textColor() const override { return text_; }
    void textOut(double x, double y, std::u16string_view text) override;

private:
    void applyPen();
    void applyBrush();

    QPainter& p_;
    Rgb pen_ = kBlack;
    int penWidth_ = 1;
    Rgb brush_ = kWhite;
    bool brushSolid_ = true;
    Rgb text_ = kBlack;
    QFont font_;
    std::optional<QFontMetrics> metrics_;
    int escapement_ = 0;
};

// The font a label font asks for at a height in pixels (negative: character height, positive:
// cell height, 0: the default).
QFont qtFont(const LabelFont& font, int height);

// A top-down QImage of the picture (palette pictures keep their colour table).
QImage dibToQImage(const dib& d);

// A picture device over any QPainter: it stretches the pictures itself.
class PainterDibDevice : public DibDevice {
public:
    PainterDibDevice(QPainter& painter, bool rasterPrinter, int screenBits)
        : p_(painter), printer_(rasterPrinter), screenBits_(screenBits) {}
    bool isRasterPrinter() const override { return printer_; }
    int screenBits() const override { return screenBits_; }
    PixelSurface* surface() override { return nullptr; }
    bool stretchDIBits(int x, int y, int dw, int dh, const dib& d, int sx, int sy, int sw, int sh,
                       RasterOp rop) override;
    bool canTakeDibs() const override { return true; }
    bool setDIBitsToDevice(int x, int y, const dib& d) override;
    BitmapResult blitThroughBitmap(int x, int y, int dw, int dh, const dib& d, int sx, int sy,
                                   int sw, int sh, RasterOp rop) override;

private:
    QPainter& p_;
    bool printer_;
    int screenBits_;
};

// The surface of an RGB32 image.
PixelSurface surfaceOf(QImage& image);

} // namespace pm
