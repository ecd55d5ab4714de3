#pragma once
// A canvas that records what the repaint draws, so tests can assert the geometry. Text extents
// are simple and predictable: `charWidth` pixels a character, `textHeight` pixels high.

#include "drawing/canvas.h"

#include <string>
#include <vector>

namespace pm::test {

struct Op {
    enum Kind { Line, Polyline, Rectangle, Ellipse, Bezier, Fill, Text } kind;
    std::vector<Pt> pts;
    Rgb pen;
    int penWidth;
    bool brushSolid;
    Rgb brush;
    std::u16string text;
    Rgb textColor;
    int fontHeight;
    int escapement;
};

class RecordingCanvas : public Canvas {
public:
    void setPen(Rgb color, int width) override {
        pen_ = color;
        penWidth_ = width;
    }
    Rgb penColor() const override { return pen_; }
    int penWidth() const override { return penWidth_; }
    void setBrush(Rgb color) override {
        brush_ = color;
        solid_ = true;
    }
    void setBrushClear() override { solid_ = false; }
    void setBrushSolid() override { solid_ = true; }
    void line(Pt a, Pt b) override { add(Op::Line, {a, b}); }
    void polyline(const std::vector<Pt>& points) override { add(Op::Polyline, points); }
    void rectangle(Pt a, Pt b) override { add(Op::Rectangle, {a, b}); }
    void ellipse(Pt a, Pt b) override { add(Op::Ellipse, {a, b}); }
    void bezier(Pt p0, Pt c1, Pt c2, Pt p3) override { add(Op::Bezier, {p0, c1, c2, p3}); }
    void fillPolygon(const std::vector<Pt>& points) override { add(Op::Fill, points); }
    void setFont(const LabelFont&, int height, int escapement) override {
        fontHeight_ = height;
        escapement_ = escapement;
    }
    TextSize textExtent(std::u16string_view text) override {
        return {int(text.size()) * charWidth, text.empty() ? textHeight : textHeight};
    }
    void setTextColor(Rgb color) override { text_ = color; }
    Rgb textColor() const override { return text_; }
    void textOut(double x, double y, std::u16string_view text) override {
        Op& op = add(Op::Text, {{x, y}});
        op.text = std::u16string(text);
    }

    std::vector<Op> of(Op::Kind kind) const {
        std::vector<Op> out;
        for (const Op& op : ops)
            if (op.kind == kind)
                out.push_back(op);
        return out;
    }
    // End-point marks: the white 7 x 7 squares.
    std::vector<Pt> marks() const {
        std::vector<Pt> out;
        for (const Op& op : of(Op::Polyline))
            if (op.pts.size() == 5 && op.pen == kWhite && op.pts[1].x - op.pts[0].x == 6)
                out.push_back({op.pts[0].x + 3, op.pts[0].y + 3});
        return out;
    }
    std::vector<Op> texts(std::u16string_view text) const {
        std::vector<Op> out;
        for (const Op& op : of(Op::Text))
            if (op.text == text)
                out.push_back(op);
        return out;
    }

    std::vector<Op> ops;
    int charWidth = 8;
    int textHeight = 16;

private:
    Op& add(Op::Kind kind, std::vector<Pt> pts) {
        ops.push_back({kind,
                       std::move(pts),
                       pen_,
                       penWidth_,
                       solid_,
                       brush_,
                       {},
                       text_,
                       fontHeight_,
                       escapement_});
        return ops.back();
    }
    Rgb pen_ = kBlack;
    int penWidth_ = 1;
    Rgb brush_ = kWhite;
    bool solid_ = true;
    Rgb text_ = kBlack;
    int fontHeight_ = 0;
    int escapement_ = 0;
};

} // namespace pm::test
