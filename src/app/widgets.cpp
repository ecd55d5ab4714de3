#include "app/widgets.h"

#include <QIconEngine>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

namespace pm {

PaintBox::PaintBox(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("PaintBox1"));
    // Every pixel is drawn by the repaint: no background erase, no flicker.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
}

void PaintBox::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (onPaint)
        onPaint(p);
}

namespace {
int buttonCode(Qt::MouseButton b) {
    return b == Qt::RightButton ? 2 : b == Qt::MiddleButton ? 1 : 0;
}
} // namespace

void PaintBox::mousePressEvent(QMouseEvent* event) {
    if (onMouseDown)
        onMouseDown(buttonCode(event->button()), event->position().toPoint().x(),
                    event->position().toPoint().y());
}

// A double click is a second press, as every click counts.
void PaintBox::mouseDoubleClickEvent(QMouseEvent* event) {
    mousePressEvent(event);
}

void PaintBox::mouseMoveEvent(QMouseEvent* event) {
    if (onMouseMove)
        onMouseMove(event->position().toPoint().x(), event->position().toPoint().y());
}

void PaintBox::mouseReleaseEvent(QMouseEvent* event) {
    if (onMouseUp)
        onMouseUp(buttonCode(event->button()), event->position().toPoint().x(),
                  event->position().toPoint().y());
}

ColorSwatch::ColorSwatch(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("Shape1"));
    setFixedSize(40, 22);
    setCursor(Qt::PointingHandCursor);
}

void ColorSwatch::setColor(const QColor& c) {
    color_ = c;
    update();
}

void ColorSwatch::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), color_);
    p.setPen(Qt::black);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

void ColorSwatch::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton || event->button() == Qt::RightButton)
        emit pressed();
}

namespace {

void arrowHead(QPainter& p, QPointF tip, QPointF from) {
    const QPointF d = tip - from;
    const double len = std::hypot(d.x(), d.y());
    const QPointF u = d / len, n(-u.y(), u.x());
    QPolygonF head;
    head << tip << tip - u * 5 + n * 2.5 << tip - u * 5 - n * 2.5;
    p.drawPolygon(head);
}

// Draws an icon on a 24 x 24 grid.
void drawIcon(QPainter& p, ToolIcon kind) {
    const QColor ink(0x20, 0x30, 0x50), accent(0xD0, 0x20, 0x20);
    p.setRenderHint(QPainter::Antialiasing);
    QPen pen(ink, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    switch (kind) {
    case ToolIcon::Zeiger: {
        QPolygonF arrow;
        arrow << QPointF(6, 3) << QPointF(6, 19) << QPointF(10, 15) << QPointF(13, 21)
              << QPointF(15.5, 20) << QPointF(12.5, 14) << QPointF(18, 14);
        p.setBrush(Qt::white);
        p.drawPolygon(arrow);
        break;
    }
    case ToolIcon::Hand: {
        p.setBrush(QColor(0xF4, 0xD8, 0xB0));
        QPainterPath hand;
        hand.addRoundedRect(QRectF(6, 11, 12, 10), 3, 3);
        p.drawPath(hand);
        for (int i = 0; i < 4; ++i)
            p.drawRoundedRect(QRectF(6.5 + i * 3, 4 + (i == 0 || i == 3 ? 2 : 0), 2.6, 9), 1.3,
                              1.3);
        break;
    }
    case ToolIcon::Dimension:
    case ToolIcon::Schraeg:
    case ToolIcon::Massstab: {
        const bool slanted = kind == ToolIcon::Schraeg;
        const QPointF a(3, slanted ? 19 : 12), b(21, slanted ? 5 : 12);
        p.setBrush(ink);
        p.drawLine(a, b);
        arrowHead(p, a, b);
        arrowHead(p, b, a);
        if (slanted) {
            p.setPen(QPen(accent, 1.4));
            p.drawLine(QPointF(3, 21), QPointF(21, 21));
            p.drawArc(QRectF(-3, 15, 12, 12), 0, 40 * 16);
        } else if (kind == ToolIcon::Massstab) {
            p.setPen(QPen(accent, 1.4));
            for (int i = 0; i <= 4; ++i)
                p.drawLine(QPointF(3 + i * 4.5, 17), QPointF(3 + i * 4.5, i % 2 ? 19 : 21));
            p.drawLine(QPointF(3, 17), QPointF(21, 17));
        } else {
            p.drawLine(QPointF(3, 7), QPointF(3, 17));
            p.drawLine(QPointF(21, 7), QPointF(21, 17));
        }
        break;
    }
    case ToolIcon::Strecke: {
        QPolygonF path;
        path << QPointF(3, 19) << QPointF(9, 8) << QPointF(15, 15) << QPointF(21, 4);
        p.drawPolyline(path);
        p.setBrush(accent);
        p.setPen(Qt::NoPen);
        for (const QPointF& pt : path)
            p.drawEllipse(pt, 1.8, 1.8);
        break;
    }
    case ToolIcon::Polygon: {
        QPolygonF poly;
        poly << QPointF(4, 18) << QPointF(7, 5) << QPointF(17, 3) << QPointF(21, 14)
             << QPointF(12, 21);
        p.setBrush(QColor(0xD0, 0x20, 0x20, 60));
        p.drawPolygon(poly);
        break;
    }
    case ToolIcon::Rect:
        p.setBrush(QColor(0xD0, 0x20, 0x20, 60));
        p.drawRect(QRectF(3.5, 6.5, 17, 11));
        break;
    case ToolIcon::Circle:
        p.setBrush(QColor(0xD0, 0x20, 0x20, 60));
        p.drawEllipse(QRectF(2.5, 6, 19, 12));
        break;
    case ToolIcon::Text: {
        QFont f(QStringLiteral("DejaVu Serif"));
        f.setPixelSize(18);
        f.setBold(true);
        p.setFont(f);
        p.drawText(QRectF(0, 0, 24, 24), Qt::AlignCenter, QStringLiteral("T"));
        break;
    }
    case ToolIcon::Open: {
        p.setBrush(QColor(0xF0, 0xC8, 0x50));
        QPolygonF folder;
        folder << QPointF(2, 6) << QPointF(9, 6) << QPointF(11, 8) << QPointF(21, 8)
               << QPointF(21, 19) << QPointF(2, 19);
        p.drawPolygon(folder);
        p.setBrush(QColor(0xF8, 0xE0, 0x90));
        QPolygonF flap;
        flap << QPointF(2, 19) << QPointF(6, 11) << QPointF(23, 11) << QPointF(21, 19);
        p.drawPolygon(flap);
        break;
    }
    }
}

class DrawnIconEngine : public QIconEngine {
public:
    explicit DrawnIconEngine(ToolIcon kind) : kind_(kind) {}
    void paint(QPainter* p, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
        p->save();
        p->translate(rect.topLeft());
        p->scale(rect.width() / 24.0, rect.height() / 24.0);
        if (mode == QIcon::Disabled)
            p->setOpacity(0.4);
        drawIcon(*p, kind_);
        p->restore();
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        QPixmap pm(size);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        paint(&p, QRect(QPoint(), size), mode, state);
        return pm;
    }
    QIconEngine* clone() const override { return new DrawnIconEngine(kind_); }

private:
    ToolIcon kind_;
};

} // namespace

QIcon toolIcon(ToolIcon kind) {
    return QIcon(new DrawnIconEngine(kind));
}

} // namespace pm
