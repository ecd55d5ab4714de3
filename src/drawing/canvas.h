#pragma once
// What the repaint draws through: the screen bitmap, the printer and SVG through QPainter, and
// a recording canvas in tests.

#include "drawing/view.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pm {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(Rgb a, Rgb b) { return a.r == b.r && a.g == b.g && a.b == b.b; }
};

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kRed{255, 0, 0};

// The label font as the font dialog holds it. A negative height is a character height in
// pixels without the internal leading; a positive one a cell height.
struct LabelFont {
    std::u16string face = u"Tahoma";
    int height = -15;
    Rgb color = kRed;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeout = false;
    int charset = 1; // default character set
    int pitch = 0;   // default pitch
    int pixelsPerInch = 96;
};

struct TextSize {
    int width = 0;
    int height = 0;
};

class Canvas {
public:
    virtual ~Canvas() = default;

    virtual void setPen(Rgb color, int width) = 0;
    virtual Rgb penColor() const = 0;
    virtual int penWidth() const = 0;
    virtual void setBrush(Rgb color) = 0; // solid
    virtual void setBrushClear() = 0;     // shapes leave their interior unpainted
    virtual void setBrushSolid() = 0;     // solid again, in the last brush colour

    virtual void line(Pt a, Pt b) = 0;
    virtual void polyline(const std::vector<Pt>& points) = 0;
    virtual void rectangle(Pt a, Pt b) = 0; // outline with the pen, inside with the brush
    virtual void ellipse(Pt a, Pt b) = 0;   // inscribed in the box a-b
    virtual void bezier(Pt p0, Pt c1, Pt c2, Pt p3) = 0;
    virtual void fillPolygon(const std::vector<Pt>& points) = 0; // brush colour, no outline

    // `height` is the already scaled height (0: the platform's default); `escapement` is the
    // text direction in tenths of a degree counter-clockwise.
    virtual void setFont(const LabelFont& font, int height, int escapement) = 0;
    virtual TextSize textExtent(std::u16string_view text) = 0;
    virtual void setTextColor(Rgb color) = 0;
    virtual Rgb textColor() const = 0;
    // The text with the top-left corner of its (unrotated) box at (x, y), background
    // transparent.
    virtual void textOut(double x, double y, std::u16string_view text) = 0;
};

} // namespace pm
