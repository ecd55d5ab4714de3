#pragma once
// Scanning through SANE: the scanners the system knows, and one page from one of them as a
// picture record (24 bits for colour, 8 for grey, 1 for line art).

#include "drawing/dib.h"

#include <atomic>
#include <functional>
#include <string>
#include <vector>

namespace pm {

struct ScannerInfo {
    std::string name;  // what SANE opens
    std::string label; // vendor, model and type, for people
};

// Starts SANE for the life of the object (SANE is one per process).
class SaneSession {
public:
    SaneSession();
    ~SaneSession();
    SaneSession(const SaneSession&) = delete;
    SaneSession& operator=(const SaneSession&) = delete;
    bool ok() const { return ok_; }
    std::vector<ScannerInfo> scanners();

private:
    bool ok_ = false;
};

enum class ScanStatus { Ok, Cancelled, Failed };

// One frame as SANE delivers it: its format (grey, RGB, or one of red, green, blue), sample
// depth, geometry and bytes.
struct ScanFrame {
    enum Format { Gray, Rgb, Red, Green, Blue } format = Gray;
    int depth = 8;
    int pixelsPerLine = 0;
    int bytesPerLine = 0;
    std::vector<unsigned char> bytes;
};

// The frames of one page as a picture: 24 bits for colour (one RGB frame, or three passes),
// 8 for grey, 1 for line art. False with `error` set when they make no picture.
bool framesToDib(const std::vector<ScanFrame>& frames, dib& out, std::string& error);

// Scans one page; `progress` gets the fraction read so far (from the scanning thread);
// setting `cancel` stops the scan. On failure `error` says why.
ScanStatus scanPage(const std::string& device, dib& out,
                    const std::function<void(double)>& progress, const std::atomic<bool>& cancel,
                    std::string& error);

} // namespace pm
