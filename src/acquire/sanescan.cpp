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

// One frame read whole: SANE may not know the number of lines in advance.
struct Frame {
    SANE_Parameters p{};
    std::vector<unsigned char> bytes;
};

ScanStatus readFrame(SANE_Handle h, Frame& f, const std::function<void(double)>& progress,
                     const std::atomic<bool>& cancel, double done, double share,
                     std::string& error) {
    SANE_Status s = sane_start(h);
    if (s != SANE_STATUS_GOOD) {
        error = sane_strstatus(s);
        return s == SANE_STATUS_CANCELLED ? ScanStatus::Cancelled : ScanStatus::Failed;
    }
    if ((s = sane_get_parameters(h, &f.p)) != SANE_STATUS_GOOD) {
        error = sane_strstatus(s);
        return ScanStatus::Failed;
    }
    const std::size_t expected =
        f.p.lines > 0 ? std::size_t(f.p.lines) * std::size_t(f.p.bytes_per_line) : 0;
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
    if (f.p.bytes_per_line <= 0 || f.p.pixels_per_line <= 0) {
        error = "the scanner sent no picture";
        return ScanStatus::Failed;
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
    std::vector<Frame> frames;
    for (int pass = 0; pass < 3; ++pass) {
        Frame f;
        const ScanStatus st =
            readFrame(handle.h, f, progress, cancel, pass / 3.0, pass == 0 ? 1.0 : 1.0 / 3, error);
        if (st != ScanStatus::Ok)
            return st;
        const bool last = f.p.last_frame;
        frames.push_back(std::move(f));
        if (last)
            break;
    }
    const SANE_Parameters& p = frames[0].p;
    const int w = p.pixels_per_line, bpl = p.bytes_per_line;
    const int h = int(frames[0].bytes.size() / std::size_t(bpl));
    if (h <= 0 || (p.depth != 1 && p.depth != 8 && p.depth != 16)) {
        error = "the scanner sent a picture of a kind that cannot be taken";
        return ScanStatus::Failed;
    }
    if (p.format == SANE_FRAME_GRAY && p.depth == 1) {
        std::uint8_t info[kInfoHeaderSize + 8] = {};
        std::memset(info + kInfoHeaderSize, 255, 3); // 0 is white, 1 black, as line art comes
        newdib(out, w, h, 1, info, 2);
        if (!out.poi)
            return error = "not enough memory for the scan", ScanStatus::Failed;
        for (int y = 0; y < h; ++y)
            std::memcpy(dibRowFromTop(out, y), frames[0].bytes.data() + std::size_t(y) * bpl,
                        std::size_t((w + 7) / 8));
    } else if (p.format == SANE_FRAME_GRAY) {
        std::uint8_t info[kInfoHeaderSize + 1024] = {};
        for (int i = 0; i < 256; ++i)
            std::memset(info + kInfoHeaderSize + 4 * i, i, 3);
        newdib(out, w, h, 8, info, 256);
        if (!out.poi)
            return error = "not enough memory for the scan", ScanStatus::Failed;
        for (int y = 0; y < h; ++y) {
            const unsigned char* line = frames[0].bytes.data() + std::size_t(y) * bpl;
            std::uint8_t* dst = dibRowFromTop(out, y);
            for (int x = 0; x < w; ++x)
                dst[x] = sample8(line, x, p.depth);
        }
    } else {
        newdib(out, w, h, 24, nullptr, 0);
        if (!out.poi)
            return error = "not enough memory for the scan", ScanStatus::Failed;
        const bool interleaved = p.format == SANE_FRAME_RGB;
        if (p.depth == 1) {
            freedib(out);
            error = "the scanner sent a picture of a kind that cannot be taken";
            return ScanStatus::Failed;
        }
        for (int y = 0; y < h; ++y) {
            std::uint8_t* dst = dibRowFromTop(out, y);
            for (int x = 0; x < w; ++x) {
                unsigned char rgb[3] = {0, 0, 0};
                if (interleaved) {
                    const unsigned char* line = frames[0].bytes.data() + std::size_t(y) * bpl;
                    for (int c = 0; c < 3; ++c)
                        rgb[c] = sample8(line, 3 * x + c, p.depth);
                } else {
                    for (const Frame& f : frames) {
                        const int c = f.p.format == SANE_FRAME_RED     ? 0
                                      : f.p.format == SANE_FRAME_GREEN ? 1
                                                                       : 2;
                        const std::size_t at = std::size_t(y) * std::size_t(f.p.bytes_per_line);
                        if (at + std::size_t(f.p.bytes_per_line) <= f.bytes.size())
                            rgb[c] = sample8(f.bytes.data() + at, x, f.p.depth);
                    }
                }
                dst[3 * x] = rgb[2];
                dst[3 * x + 1] = rgb[1];
                dst[3 * x + 2] = rgb[0];
            }
        }
    }
    if (progress)
        progress(1.0);
    return ScanStatus::Ok;
}

} // namespace pm
