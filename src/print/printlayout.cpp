#include "print/printlayout.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace pm {

namespace {
int bounded(double v) {
    return std::clamp(int(v), 1, 100); // truncated towards zero, then bounded as the field does
}
} // namespace

Rect previewSheet(int PW, int PH, int BW, int BH) {
    int w, h;
    if (PW <= 0 || PH <= 0)
        return {0, 0, BW, BH};
    if (PH < PW) {
        w = BW;
        h = int(std::int64_t(PH) * BW / PW);
    } else {
        h = BH;
        w = int(std::int64_t(PW) * BH / PH);
    }
    return {(BW - w) / 2, (BH - h) / 2, w, h};
}

Rect printRect(const Rect& sheet, int pw, int ph, const PrintChoice& c) {
    const int w = sheet.w, h = sheet.h;
    int pc = w, pd = h;
    if (c.fullPage) {
        if (c.keepRatio && pw > 0 && ph > 0) {
            if (h < std::int64_t(ph) * w / pw) {
                pd = h;
                pc = int(std::int64_t(pw) * h / ph);
            } else {
                pc = w;
                pd = int(std::int64_t(ph) * w / pw);
            }
        }
    } else {
        pc = int(std::nearbyint(w * c.breit / 100.0));
        pd = int(std::nearbyint(h * c.hoch / 100.0));
    }
    if (c.centred)
        return {sheet.x + (w - pc) / 2, sheet.y + (h - pd) / 2, pc, pd};
    return {sheet.x, sheet.y, pc, pd};
}

void widthRule(PrintChoice& c, int pw, int ph, int PW, int PH) {
    if (!c.keepRatio || pw <= 0 || ph <= 0 || PW <= 0 || PH <= 0)
        return;
    const double v = double(ph) * c.breit / pw * PW / PH;
    c.hoch = bounded(v);
    if (v > 100 || v < 1)
        c.breit = bounded(double(pw) * c.hoch / ph * PH / PW);
}

void heightRule(PrintChoice& c, int pw, int ph, int PW, int PH) {
    if (!c.keepRatio || pw <= 0 || ph <= 0 || PW <= 0 || PH <= 0)
        return;
    const double v = double(pw) * c.hoch / ph * PH / PW;
    c.breit = bounded(v);
    if (v > 100 || v < 1)
        c.hoch = bounded(double(ph) * c.breit / pw * PW / PH);
}

} // namespace pm
