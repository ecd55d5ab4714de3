#include "drawing/scene.h"

#include "drawing/dibdraw.h"

#include <QFileInfo>
#include <QPainter>
#include <QSvgGenerator>

#include <cstdio>

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

namespace {
bool renameInto(const std::string& tmp, const std::string& fileName) {
    if (std::rename(tmp.c_str(), fileName.c_str()) == 0)
        return true;
    std::remove(tmp.c_str());
    return false;
}
} // namespace

bool saveSvg(const std::string& fileName, Document& doc, RenderContext ctx, bool withPicture) {
    const int w = dibwidth(doc.di), h = dibheight(doc.di);
    const std::string tmp = fileName + ".tmp";
    QSvgGenerator gen;
    gen.setFileName(QString::fromStdString(tmp));
    gen.setSize(QSize(w, h));
    gen.setViewBox(QRect(0, 0, w, h));
    gen.setTitle(QStringLiteral("Picmetra"));
    ctx.view = View{100, 0, 0, true}; // picture pixels
    ctx.settings.noendpunkte = true;
    {
        QPainter painter;
        if (!painter.begin(&gen))
            return false;
        painter.fillRect(QRect(0, 0, w, h), Qt::white);
        if (withPicture)
            painter.drawImage(QRect(0, 0, w, h), dibToQImage(doc.di));
        QPainterCanvas canvas(painter, nullptr, true);
        renderElements(canvas, ctx, doc.elemente, doc.scale, doc.sums);
        if (!painter.end())
            return false;
    }
    if (!QFileInfo::exists(QString::fromStdString(tmp)))
        return false;
    return renameInto(tmp, fileName);
}

bool savePicture(const std::string& fileName, Document& doc, RenderContext ctx, bool withPicture,
                 MessageService* messages) {
    ctx.settings.showPicture = withPicture;
    const QImage image = renderExport(doc, ctx, messages);
    if (image.isNull())
        return false;
    QString suffix = QFileInfo(QString::fromStdString(fileName)).suffix().toLower();
    const char* format =
        suffix == QLatin1String("png")                                      ? "PNG"
        : suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg") ? "JPEG"
        : suffix == QLatin1String("tif") || suffix == QLatin1String("tiff") ? "TIFF"
                                                                            : "BMP";
    const std::string tmp = fileName + ".tmp";
    if (!image.save(QString::fromStdString(tmp), format, format[0] == 'J' ? 95 : -1)) {
        std::remove(tmp.c_str());
        return false;
    }
    return renameInto(tmp, fileName);
}

} // namespace pm
