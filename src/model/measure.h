#pragma once
// The scale and the arithmetic that turns an element's points into its results.

#include "model/elemente.h"

#include <string>

namespace pm {

class DialogService;

constexpr double kPi = 3.14159265358979323846;

// mas1 picture pixels correspond to mas2 units named einh.
struct Scale {
    double mas1 = 1.0;
    double mas2 = 1.0;
    std::u16string einh;
    double factor() const { return mas2 / mas1; }
};

// Working results of the last polygon or path measured, in picture pixels.
struct MeasureSums {
    double calcsum = 0.0;  // area
    double calcabst = 0.0; // length
};

// Ramanujan's second approximation; 0 for a box of no size.
double ellipseumfang(double a, double b);

// Length and area of a vertex chain in single precision, as the results have always been.
void CalcMeasure(const Telemente& e, MeasureSums& sums);

// Recomputes lang, flaeche and winkel of one element; text labels and other kinds keep theirs.
void CalcElement(Telemente& e, const Scale& scale, MeasureSums& sums);

// The numeric scale dialog: fills it from the scale and the "Anzeigen" option, shows it and
// takes its values back however it was closed; a zero becomes 1.0.
void Numerisch(DialogService& dialogs, Scale& scale, bool& anzeigen);

} // namespace pm
