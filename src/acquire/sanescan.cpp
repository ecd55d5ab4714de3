#include "acquire/sanescan.h"

#include "acquire/rasterio.h"

#include <sane/sane.h>
#include <sane/saneopts.h>

#include <cstring>
#include <memory>

namespace pm {

SaneSession::SaneSession() {
    SANE_Int version = 0;
    ok_ = sane_init(&version, nullptr) == SANE_STATUS_GOOD;
}

SaneSession::~SaneSession() {
    if (ok_)
        sane_exit();
}

std::vector<ScannerInfo> SaneSession::scanners() {
    std::vector<ScannerInfo> out;
    const SANE_Device** list = nullptr;
    if (!ok_ || sane_get_devices(&list, SANE_FALSE) != SANE_STATUS_GOOD || !list)
        return out;
    for (int i = 0; list[i]; ++i) {
        const SANE_Device* d = list[i];
        out.push_back({d->name, std::string(d->vendor ? d->vendor : "") + " " +
                                    (d->model ? d->model : "") + " (" + (d->type ? d->type : "") +
                                    ")"});
    }
    return out;
}

namespace {

struct Handle {
    SANE_Handle h = nullptr;
    ~Handle() {
        if (h) {
            sane_cancel(h);
            sane_close(h);
        }
    }
};

ScanFrame::Format formatOf(SANE_Frame f) {
    switch (f) {
    case SANE_FRAME_RGB:
        return ScanFrame::Rgb;
    case SANE_FRAME_RED:
        return ScanFrame::Red;
    case SANE_FRAME_GREEN:
        return ScanFrame::Green;
    case SANE_FRAME_BLUE:
        return ScanFrame::Blue;
    default:
        return ScanFrame::Gray;
    }
}

// One frame read whole: SANE may not know the number of lines in advance.
ScanStatus readFrame(SANE_Handle h, ScanFrame& f, bool& last,
                     const std::function<void(double)>& progress, const std::atomic<bool>& cancel,
                     double done, double share, std::string& error) {
    SANE_Status s = sane_start(h);
    if (s != SANE_STATUS_GOOD) {
        error = sane_strstatus(s);
        return s == SANE_STATUS_CANCELLED ? ScanStatus::Cancelled : ScanStatus::Failed;
    }
    SANE_Parameters p{};
    if ((s = sane_get_parameters(h, &p)) != SANE_STATUS_GOOD) {
        error = sane_strstatus(s);
        return ScanStatus::Failed;
    }
    f.format = formatOf(p.format);
    f.depth = p.depth;
    f.pixelsPerLine = p.pixels_per_line;
    f.bytesPerLine = p.bytes_per_line;
    last = p.last_frame;
    const std::size_t expected = p.lines > 0 && p.bytes_per_line > 0
                                     ? std::size_t(p.lines) * std::size_t(p.bytes_per_line)
                                     : 0;
    f.bytes.reserve(expected);
    std::vector<unsigned char> buf(65536);
    for (;;) {
        if (cancel) {
            sane_cancel(h);
            return ScanStatus::Cancelled;
        }
        SANE_Int n = 0;
        s = sane_read(h, buf.data(), SANE_Int(buf.size()), &n);
        if (s == SANE_STATUS_EOF)
            break;
        if (s != SANE_STATUS_GOOD) {
            error = sane_strstatus(s);
            return s == SANE_STATUS_CANCELLED ? ScanStatus::Cancelled : ScanStatus::Failed;
        }
        f.bytes.insert(f.bytes.end(), buf.begin(), buf.begin() + n);
        if (progress && expected)
            progress(done + share * std::min(1.0, double(f.bytes.size()) / double(expected)));
    }
    return ScanStatus::Ok;
}

// Sample k of a line as 8 bits (16-bit samples come in the host's byte order).
unsigned char sample8(const unsigned char* line, int k, int depth) {
    if (depth == 16) {
        std::uint16_t v;
        std::memcpy(&v, line + 2 * k, 2);
        return static_cast<unsigned char>(v >> 8);
    }
    return line[k];
}

} // namespace

bool framesToDib(const std::vector<ScanFrame>& frames, dib& out, std::string& error) {
    out = dib{};
    if (frames.empty()) {
        error = "the scanner sent no picture";
        return false;
    }
    const ScanFrame& p = frames.front();
    const int w = p.pixelsPerLine, bpl = p.bytesPerLine;
    const int h = bpl > 0 ? int(p.bytes.size() / std::size_t(bpl)) : 0;
    const bool colour = p.format != ScanFrame::Gray;
    const int needed = colour && p.format == ScanFrame::Rgb ? 3 * w * (p.depth / 8)
                       : p.depth == 1                       ? (w + 7) / 8
                                                            : w * (p.depth / 8);
    if (w <= 0 || h <= 0 || bpl < needed || (p.depth != 1 && p.depth != 8 && p.depth != 16) ||
        (colour && p.depth == 1)) {
        error = "the scanner sent no picture of a kind that can be taken";
        return false;
    }
    if (!colour && p.depth == 1) {
        std::uint8_t info[kInfoHeaderSize + 8] = {};
        std::memset(info + kInfoHeaderSize, 255, 3); // 0 is white, 1 black, as line art comes
        newdib(out, w, h, 1, info, 2);
    } else if (!colour) {
        std::uint8_t info[kInfoHeaderSize + 1024] = {};
        for (int i = 0; i < 256; ++i)
            std::memset(info + kInfoHeaderSize + 4 * i, i, 3);
        newdib(out, w, h, 8, info, 256);
    } else {
        newdib(out, w, h, 24, nullptr, 0);
    }
    if (!out.poi) {
        error = "not enough memory for the scan";
        return false;
    }
    for (int y = 0; y < h; ++y) {
        const unsigned char* line = p.bytes.data() + std::size_t(y) * std::size_t(bpl);
        std::uint8_t* dst = dibRowFromTop(out, y);
        if (!colour && p.depth == 1) {
            std::memcpy(dst, line, std::size_t((w + 7) / 8));
        } else if (!colour) {
            for (int x = 0; x < w; ++x)
                dst[x] = sample8(line, x, p.depth);
        } else {
            for (int x = 0; x < w; ++x) {
                unsigned char rgb[3] = {0, 0, 0};
                if (p.format == ScanFrame::Rgb) {
                    for (int c = 0; c < 3; ++c)
                        rgb[c] = sample8(line, 3 * x + c, p.depth);
                } else {
                    for (const ScanFrame& f : frames) {
                        const int c = f.format == ScanFrame::Red     ? 0
                                      : f.format == ScanFrame::Green ? 1
                                                                     : 2;
                        const std::size_t at = std::size_t(y) * std::size_t(f.bytesPerLine);
                        if (f.bytesPerLine >= w * (f.depth / 8) &&
                            at + std::size_t(f.bytesPerLine) <= f.bytes.size())
                            rgb[c] = sample8(f.bytes.data() + at, x, f.depth);
                    }
                }
                dst[3 * x] = rgb[2];
                dst[3 * x + 1] = rgb[1];
                dst[3 * x + 2] = rgb[0];
            }
        }
    }
    return true;
}

ScanStatus scanPage(const std::string& device, dib& out,
                    const std::function<void(double)>& progress, const std::atomic<bool>& cancel,
                    std::string& error) {
    out = dib{};
    Handle handle;
    SANE_Status s = sane_open(device.c_str(), &handle.h);
    if (s != SANE_STATUS_GOOD) {
        error = sane_strstatus(s);
        handle.h = nullptr;
        return ScanStatus::Failed;
    }
    // One frame, or three for scanners that scan red, green and blue in turn.
    std::vector<ScanFrame> frames;
    for (int pass = 0; pass < 3; ++pass) {
        ScanFrame f;
        bool last = true;
        const ScanStatus st = readFrame(handle.h, f, last, progress, cancel, pass / 3.0,
                                        pass == 0 ? 1.0 : 1.0 / 3, error);
        if (st != ScanStatus::Ok)
            return st;
        frames.push_back(std::move(f));
        if (last)
            break;
    }
    if (!framesToDib(frames, out, error))
        return ScanStatus::Failed;
    if (progress)
        progress(1.0);
    return ScanStatus::Ok;
}

} // namespace pm
