#pragma once
// The full rendering of the scene into a bitmap: white background, the picture, every element.
// The window's repaint, the picture exports, printing and the command-line tool all use it.

#include "drawing/qtcanvas.h"
#include "drawing/render.h"
#include "model/document.h"

#include <QImage>

#include <string>

namespace pm {

class MessageService;

// Renders into `bit` at its size; with `ctx.view.forExport` the caller sizes it to the whole
// picture at the zoom (pictureSizeAt). False when the bitmap is empty.
bool renderScene(QImage& bit, Document& doc, const RenderContext& ctx, int screenBits,
                 MessageService* messages, GlyphCache* glyphs);

// The whole picture's size in window pixels at the view's zoom.
QSize pictureSizeAt(const dib& picture, const View& view);

// The export rendering: the whole picture at the zoom, from (0, 0), without end-point marks.
QImage renderExport(Document& doc, RenderContext ctx, MessageService* messages);

// The drawing as SVG in picture pixels (the view box is the picture), every element with its
// dimension lines, arrow heads and labels as text; the picture embedded when asked.
bool saveSvg(const std::string& fileName, Document& doc, RenderContext ctx, bool withPicture);

// The export rendering saved as a picture in the format the file name's extension names
// (PNG, JPEG, BMP, TIFF; BMP without one). False when it could not be made or written.
bool savePicture(const std::string& fileName, Document& doc, RenderContext ctx, bool withPicture,
                 MessageService* messages);

} // namespace pm
