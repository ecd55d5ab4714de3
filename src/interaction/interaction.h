#pragma once
// The mouse in the drawing area: creating elements with the drawing tools, selecting, dragging
// handles, moving elements, panning, and the editing commands.

#include "drawing/render.h"
#include "model/document.h"
#include "model/services.h"

#include <functional>

namespace pm {

enum class Tool {
    None,
    Zeiger,
    Hand,
    Dimension,
    Strecke,
    Polygon,
    Rect,
    Circle,
    Schraeg,
    Massstab,
    Text
};
enum class MouseButton { Left, Middle, Right };

bool isDrawingTool(Tool t);
bool isLineTool(Tool t);

// What the mouse handling needs from the window around it.
class InteractionHost {
public:
    virtual ~InteractionHost() = default;
    virtual View view() const = 0;
    virtual Tool tool() const = 0;
    // Puts a tool button down without running its click handler.
    virtual void setToolDown(Tool t) = 0;
    virtual bool askLabelOption() const = 0; // "Bezeichnung für Elemente gleich mit abfragen"
    virtual bool pointerOption() const = 0;  // "Nach Messung wieder den Zeiger auswählen"
    virtual void fullRepaint() = 0;          // the full repaint, presented
    // Renders the scene into the off-screen bitmap without presenting it, lets `draw` add to it,
    // then presents it in one piece.
    virtual void preview(const std::function<void(Canvas&, const RenderContext&)>& draw) = 0;
    // Sets both scroll positions (clamped), then repaints once.
    virtual void setScroll(int h, int v) = 0;
    // A text's extent in the label font scaled to the zoom.
    virtual TextSize labelExtent(std::u16string_view text) = 0;
    virtual void numerisch() = 0;              // the numeric scale dialog
    virtual std::u16string beschriftung() = 0; // message 7, translated
};

// The point hit test: (x, y) is the mouse's view position, (px, py) a picture point.
bool clickonpunkt(int x, int y, double px, double py, int z);
bool ClickOnline(float x1, float y1, float x2, float y2, float px, float py, float t);
bool clickinbox(int x, int y, int left, int top, int right, int bottom);

class Interaction {
public:
    Interaction(Document& doc, InteractionHost& host, DialogService& dialogs,
                const KeyboardState& keys);

    void PaintBox1MouseDown(MouseButton button, int X, int Y);
    void PaintBox1MouseMove(int X, int Y);
    void PaintBox1MouseUp(MouseButton button, int X, int Y);

    void Lschen1Click();
    void Kopieren1Click();
    void Einfgen1Click();
    void Beschreibungbearbeiten1Click();
    void Bezeichnungeingeben();

    // Whether the outline of element i passes within 5 window pixels of (X, Y).
    bool hitsOutline(int i, int X, int Y);

    // Creation state.
    bool inlinie = false;
    int lastnr = 0;
    double startx = 0, starty = 0, endx = 0, endy = 0, tempx = 0, tempy = 0;
    // Pointer and hand state.
    bool dragpoint = false;
    double dragx = 0, dragy = 0, sx = 0, sy = 0;
    bool inmove = false;
    int movex = 0, movey = 0, moveobj = 0;
    bool inhand = false;
    int dragxx = 0, dragyy = 0, ooffx = 0, ooffy = 0;

private:
    Pt picture(int X, int Y) const;
    void snap(int X, int Y, double& x, double& y) const;
    void squareConstraint(double& x, double& y) const;
    void lineConstraint(Tool t, double& x, double& y) const;
    Telemente* last();
    void continuationClick(Tool t, int X, int Y);
    void rightClick();
    void textClick(int X, int Y);
    void pointerPress(int X, int Y);
    void pointerOption();
    void moveShift(Telemente& e, double dx, double dy);
    void endMoveAndDrag();

    Document& doc_;
    InteractionHost& host_;
    DialogService& dialogs_;
    const KeyboardState& keys_;
};

} // namespace pm
