#pragma once
// The one document the main window owns: the picture, the element list and the scale.

#include "drawing/dib.h"
#include "model/elemente.h"
#include "model/measure.h"

namespace pm {

class Document {
public:
    // Starts with the white 320 x 320 picture, no elements and the scale 1 : 1.
    explicit Document(MessageService* messages = nullptr);
    ~Document();
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    // Replaces the picture; the document takes the blocks of `picture`.
    void replacePicture(dib& picture);

    ElementList elemente;
    Scale scale;
    MeasureSums sums;
    dib di;
};

// A white picture of 24 bits, every row byte 255.
void makeWhitePicture(dib& out, int width, int height);

} // namespace pm
