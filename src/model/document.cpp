#include "model/document.h"

#include "acquire/rasterio.h"

#include <cstring>

namespace pm {

void makeWhitePicture(dib& out, int width, int height) {
    newdib(out, width, height, 24, nullptr, 0);
    if (out.poi)
        std::memset(out.poi, 255, std::size_t(out.bytew) * std::size_t(height));
}

Document::Document(MessageService* messages) : elemente(messages) {
    makeWhitePicture(di, 320, 320);
}

Document::~Document() {
    freedib(di);
}

void Document::replacePicture(dib& picture) {
    freedib(di);
    di = picture;
    picture = dib{};
}

} // namespace pm
