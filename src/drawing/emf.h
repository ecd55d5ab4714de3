#pragma once
// The enhanced metafile of the drawing's straight lines, curves, ellipses and closing lines,
// at the current zoom, in the line colour and width. Our own record writer: no platform
// metafile is needed to make one.

#include "drawing/canvas.h"
#include "model/elemente.h"

#include <string>

namespace pm {

// The file's bytes: header, one pen, the drawing, end record.
std::string emfDocument(const ElementList& list, int zoom, Rgb color, int penWidth);
bool saveasemf(const std::string& fileName, const ElementList& list, int zoom, Rgb color,
               int penWidth);

} // namespace pm
