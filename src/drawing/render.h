#pragma once
// The element part of the full repaint: every element with its dimension lines, arrow heads,
// marks and labels, recomputing each result on the way.

#include "drawing/canvas.h"
#include "model/measure.h"

#include <string>

namespace pm {

struct RenderSettings {
    Rgb lineColor = kRed;
    double lineWidth = 2.0;    // picture pixels
    double arrowLength = 30.0; // picture pixels
    LabelFont font;
    bool showPicture = true; // "Zeige Bild"
    bool showScale = true;   // "Anzeigen": draw the graphical scale
    bool outline = false;    // "Schrift umranden"
    bool handTool = false;   // the hand tool is down: no marks
    bool noendpunkte = false;
};

// The translated words the labels need (messages 6 and 12).
struct LabelTexts {
    std::u16string neigung = u"Neigung";
    std::u16string m = u"M";
};

struct RenderContext {
    View view;
    RenderSettings settings;
    LabelTexts texts;
    const std::u16string* unit = nullptr;
    int penWidth() const; // R(w * z / 100), at least 1
    double halfWidth() const { return settings.arrowLength * 7.0 / 30.0; }
};

// Arrow vectors along (L) and across (Q) a segment of direction d and length len > 0.
struct ArrowVectors {
    Pt L, Q;
};
ArrowVectors arrowVectors(Pt d, double len, double a, bool path, int z);

int scaledFontHeight(int height, int z);
std::u16string valueText(const Telemente& e, std::u16string_view unit, const LabelTexts& texts);

void endpunkt(Canvas& c, const RenderContext& ctx, Pt at);
void mytextout(Canvas& c, double x, double y, std::u16string_view text, bool outline);
void boxLabel(Canvas& c, const RenderContext& ctx, const Telemente& e, double minX, double minY,
              double maxX, double maxY, std::u16string_view value);
void lineLabel(Canvas& c, const RenderContext& ctx, const Telemente& e, Pt p1, Pt p2, Pt offset,
               std::u16string_view value);
void textLabel(Canvas& c, const RenderContext& ctx, Telemente& e);

// Step 4 of the pass: all elements in list order.
void renderElements(Canvas& c, const RenderContext& ctx, ElementList& list, const Scale& scale,
                    MeasureSums& sums);

} // namespace pm
