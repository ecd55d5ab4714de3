#pragma once
// Large JPEG photos and scans decode straight into the picture's rows with libjpeg-turbo, in
// the picture's own byte order, without an intermediate image.

#include "drawing/dib.h"

#include <string>

namespace pm {

enum class JpegResult { Done, NotJpeg, Failed };

// Decodes colour (24 bits) and grey (8 bits with a grey palette) JPEGs; NotJpeg for anything
// else (other formats, CMYK), which the general decoder then takes.
JpegResult openJpeg(dib& out, const std::string& fileName);

} // namespace pm
