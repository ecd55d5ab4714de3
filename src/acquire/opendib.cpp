// Decoding picture files with Qt's image readers into picture records.

#include "acquire/jpegfast.h"
#include "acquire/rasterio.h"

#include <QImage>
#include <QImageReader>
#include <QString>

#include <algorithm>
#include <cstring>
#include <map>

namespace pm {

namespace {

// A palette colour with transparency is shown as it would look on white paper.
QRgb onWhite(QRgb c) {
    const int a = qAlpha(c);
    auto mix = [a](int v) { return (v * a + 255 * (255 - a) + 127) / 255; };
    return qRgb(mix(qRed(c)), mix(qGreen(c)), mix(qBlue(c)));
}

bool paletteDib(dib& out, const QImage& img, int bits) {
    std::uint8_t info[kInfoHeaderSize + 256 * 4] = {};
    const QList<QRgb> table = img.colorTable();
    const int n = std::min<int>(int(table.size()), 1 << bits);
    for (int i = 0; i < n; ++i) {
        const QRgb c = onWhite(table[i]);
        std::uint8_t* e = info + kInfoHeaderSize + 4 * i;
        e[0] = std::uint8_t(qBlue(c));
        e[1] = std::uint8_t(qGreen(c));
        e[2] = std::uint8_t(qRed(c));
    }
    newdib(out, img.width(), img.height(), bits, info, 1 << bits);
    if (!out.poi)
        return false;
    const int w = img.width();
    for (int y = 0; y < img.height(); ++y) {
        const uchar* src = img.constScanLine(y);
        std::uint8_t* dst = dibRowFromTop(out, y);
        if (bits == 1) {
            std::memcpy(dst, src, std::size_t((w + 7) / 8));
        } else if (bits == 4) {
            for (int x = 0; x < w; ++x)
                dst[x >> 1] |= std::uint8_t((src[x] & 0x0F) << ((x & 1) ? 0 : 4));
        } else {
            std::memcpy(dst, src, std::size_t(w));
        }
    }
    return true;
}

bool grayDib(dib& out, const QImage& img) {
    std::uint8_t info[kInfoHeaderSize + 256 * 4] = {};
    for (int i = 0; i < 256; ++i)
        std::memset(info + kInfoHeaderSize + 4 * i, i, 3);
    newdib(out, img.width(), img.height(), 8, info, 256);
    if (!out.poi)
        return false;
    for (int y = 0; y < img.height(); ++y)
        std::memcpy(dibRowFromTop(out, y), img.constScanLine(y), std::size_t(img.width()));
    return true;
}

bool trueColourDib(dib& out, QImage img) {
    const bool alpha = img.hasAlphaChannel();
    img.convertTo(alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (img.isNull())
        return false;
    newdib(out, img.width(), img.height(), 24, nullptr, 0);
    if (!out.poi)
        return false;
    for (int y = 0; y < img.height(); ++y) {
        const auto* src = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        std::uint8_t* dst = dibRowFromTop(out, y);
        for (int x = 0; x < img.width(); ++x) {
            const QRgb c = alpha ? onWhite(src[x]) : src[x];
            dst[3 * x] = std::uint8_t(qBlue(c));
            dst[3 * x + 1] = std::uint8_t(qGreen(c));
            dst[3 * x + 2] = std::uint8_t(qRed(c));
        }
    }
    return true;
}

} // namespace

void OpenDib(dib& out, const std::string& fileName) {
    out = dib{};
    // Qt's own limit (256 MB) would refuse large scans; ours is counted in pixels instead.
    QImageReader::setAllocationLimit(int(kMaxDibPixels * 8 / (1024 * 1024)) + 1);
    QImageReader reader(QString::fromStdString(fileName));
    reader.setAutoTransform(true);
    // Upright JPEGs take the direct way; turned ones (by their EXIF mark) Qt's.
    if (reader.format() == "jpeg" &&
        reader.transformation() == QImageIOHandler::TransformationNone) {
        switch (openJpeg(out, fileName)) {
        case JpegResult::Done:
            return;
        case JpegResult::Failed:
            freedib(out);
            return;
        case JpegResult::NotJpeg:
            break;
        }
    }
    const QSize size = reader.size();
    if (size.isValid() && std::int64_t(size.width()) * size.height() > kMaxDibPixels)
        return;
    QImage img;
    if (!reader.read(&img) || img.isNull() ||
        std::int64_t(img.width()) * img.height() > kMaxDibPixels)
        return;

    bool ok = false;
    switch (img.format()) {
    case QImage::Format_Mono:
        ok = paletteDib(out, img, 1);
        break;
    case QImage::Format_MonoLSB:
        ok = paletteDib(out, img.convertToFormat(QImage::Format_Mono), 1);
        break;
    case QImage::Format_Indexed8:
        ok = paletteDib(out, img, img.colorCount() <= 16 ? 4 : 8);
        break;
    case QImage::Format_Grayscale8:
        ok = grayDib(out, img);
        break;
    default:
        ok = trueColourDib(out, std::move(img));
        break;
    }
    if (!ok)
        freedib(out);
}

std::string GetDIBOpenFilter() {
    // Group the reader's names by what a user recognises ("jpg" and "jpeg" are one format).
    std::map<std::string, std::string> groups;
    for (const QByteArray& f : QImageReader::supportedImageFormats()) {
        std::string name = f.toUpper().toStdString();
        if (name == "JPG")
            name = "JPEG";
        if (name == "TIF")
            name = "TIFF";
        std::string& patterns = groups[name];
        if (!patterns.empty())
            patterns += ';';
        patterns += "*." + f.toLower().toStdString();
    }
    std::string all;
    std::string each;
    for (const auto& [name, patterns] : groups) {
        all += (all.empty() ? "" : ";") + patterns;
        each += "|" + name + "|" + patterns;
    }
    return "Alle Bilder|" + all + each;
}

} // namespace pm
