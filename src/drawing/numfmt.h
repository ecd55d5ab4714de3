#pragma once
// Numbers as the program shows and writes them: rounded to 15 significant digits first, then
// to the decimals, with a point and no thousands separator, whatever the locale.

#include <string>

namespace pm {

// Fixed-point with `decimals` digits after the point; scientific when the integer part has more
// than 15 digits.
std::string formatFixed(double value, int decimals);
std::u16string formatFixed16(double value, int decimals);

} // namespace pm
