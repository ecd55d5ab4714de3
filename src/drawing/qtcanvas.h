#pragma once
// The canvas and picture device on QPainter: the screen bitmap, printers, SVG.

#include "drawing/canvas.h"
#include "drawing/dibdraw.h"

#include <QFont>
#include <QFontMetrics>
#include <QGlyphRun>
#include <QHash>
#include <QImage>
#include <QList>

#include <optional>
#include <string>
#include <unordered_map>

class QPainter;

namespace pm {

// Shaped label texts, kept from one repaint to the next: the labels hardly change while the
// mouse moves, and shaping is most of what text costs.
class GlyphCache {
public:
    struct Shaped {
        QList<QGlyphRun> runs;
        int width = 0;
    };
    struct TextHash {
        using is_transparent = void;
        std::size_t operator()(std::u16string_view s) const {
            return std::hash<std::u16string_view>()(s);
        }
    };
    using PerFont = std::unordered_map<std::u16string, Shaped, TextHash, std::equal_to<>>;

    // The shaped texts of one font; lookups then need no copy of the text.
    PerFont& forFont(const QFont& font);
    const Shaped& get(PerFont& texts, const QFont& font, std::u16string_view text);

private:
    QHash<QString, PerFont> fonts_;
    std::size_t size_ = 0;
};

class QPainterCanvas : public Canvas {
public:
    // Without a cache the canvas keeps one of its own for its lifetime. `textAsText` writes
    // texts as text (for SVG) instead of as shaped glyphs.
    explicit QPainterCanvas(QPainter& painter, GlyphCache* cache = nullptr,
                            bool textAsText = false);

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

    const GlyphCache::Shaped& shaped(std::u16string_view text);
    bool missed(const QRectF& bounds) const;

    QPainter& p_;
    GlyphCache ownCache_;
    GlyphCache* cache_;
    GlyphCache::PerFont* texts_ = nullptr;
    // A label is measured and then drawn: the second lookup is the first one again.
    std::u16string lastText_;
    const GlyphCache::Shaped* lastShaped_ = nullptr;
    bool textAsText_;
    QRectF visible_; // the device area widened by the widest pen: what lies outside is skipped
    Rgb pen_ = kBlack;
    int penWidth_ = 1;
    Rgb brush_ = kWhite;
    bool brushSolid_ = true;
    Rgb text_ = kBlack;
    QFont font_;
    std::optional<QFontMetrics> metrics_;
    LabelFont fontSpec_;
    int fontHeight_ = 0;
    bool fontSet_ = false;
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
