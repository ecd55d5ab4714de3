#pragma once
// Where the print goes on the sheet: the preview and the printed page follow the same rule.

namespace pm {

struct Rect {
    int x = 0, y = 0, w = 0, h = 0;
    friend bool operator==(const Rect& a, const Rect& b) {
        return a.x == b.x && a.y == b.y && a.w == b.w && a.h == b.h;
    }
};

struct PrintChoice {
    bool fullPage = true; // "Seite voll nutzen"; otherwise the percentages
    bool keepRatio = true;
    bool centred = true;
    int breit = 50; // percent of the page width
    int hoch = 50;  // percent of the page height
};

// The sheet of a PW x PH page inside a BW x BH box, centred.
Rect previewSheet(int PW, int PH, int BW, int BH);
// The print of a pw x ph picture on a sheet.
Rect printRect(const Rect& sheet, int pw, int ph, const PrintChoice& c);

// The percentage rules with the proportion kept: a new width percentage gives the height
// percentage (and the width again when the height had to be bounded), and the mirror image.
void widthRule(PrintChoice& c, int pw, int ph, int PW, int PH);
void heightRule(PrintChoice& c, int pw, int ph, int PW, int PH);

} // namespace pm
