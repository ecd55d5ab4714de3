#include "drawing/scene.h"

#include "drawing/dibdraw.h"

#include <QPainter>

namespace pm {

QSize pictureSizeAt(const dib& picture, const View& view) {
    return QSize(int(view.size(dibwidth(picture))), int(view.size(dibheight(picture))));
}

bool renderScene(QImage& bit, Document& doc, const RenderContext& ctx, int screenBits,
                 MessageService* messages, GlyphCache* glyphs) {
    if (bit.isNull())
        return false;
    const View& view = ctx.view;
    bit.fill(Qt::white);
    if (ctx.settings.showPicture) {
        const QSize size = pictureSizeAt(doc.di, view);
        SurfaceDevice device(surfaceOf(bit), screenBits);
        drawdib(device, int(view.ox()), int(view.oy()), size.width(), size.height(), doc.di, 0, 0,
                dibwidth(doc.di), dibheight(doc.di), false, RasterOp::Copy, messages);
    }
    QPainter painter(&bit);
    QPainterCanvas canvas(painter, glyphs);
    renderElements(canvas, ctx, doc.elemente, doc.scale, doc.sums);
    return true;
}

QImage renderExport(Document& doc, RenderContext ctx, MessageService* messages) {
    ctx.view.forExport = true;
    ctx.settings.noendpunkte = true;
    const QSize size = pictureSizeAt(doc.di, ctx.view);
    if (size.isEmpty() || std::int64_t(size.width()) * size.height() > std::int64_t(1) << 29)
        return {}; // too large to hold
    QImage bit(size, QImage::Format_RGB32);
    if (!renderScene(bit, doc, ctx, 32, messages, nullptr))
        return {};
    return bit;
}

} // namespace pm
