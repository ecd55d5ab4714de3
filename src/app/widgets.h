#pragma once
// Small widgets of the main window.

#include <QColor>
#include <QFrame>
#include <QIcon>
#include <QWidget>

#include <functional>

namespace pm {

// The drawing area: its paint events run the full repaint.
class PaintBox : public QWidget {
    Q_OBJECT
public:
    explicit PaintBox(QWidget* parent = nullptr);
    std::function<void(QPainter&)> onPaint;
    // Button: 0 left, 1 middle, 2 right.
    std::function<void(int button, int x, int y)> onMouseDown;
    std::function<void(int x, int y)> onMouseMove;
    std::function<void(int button, int x, int y)> onMouseUp;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

// The colour swatch: shows the drawing colour; a press asks for another.
class ColorSwatch : public QFrame {
    Q_OBJECT
public:
    explicit ColorSwatch(QWidget* parent = nullptr);
    QColor color() const { return color_; }
    void setColor(const QColor& c);

signals:
    void pressed();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QColor color_ = Qt::red;
};

enum class ToolIcon {
    Zeiger,
    Hand,
    Dimension,
    Strecke,
    Polygon,
    Rect,
    Circle,
    Schraeg,
    Massstab,
    Text,
    Open
};
// Icons drawn for the program at any device pixel ratio, so they stay crisp on high-DPI screens.
QIcon toolIcon(ToolIcon kind);

} // namespace pm
