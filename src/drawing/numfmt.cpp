#include "drawing/numfmt.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace pm {

std::string formatFixed(double value, int decimals) {
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value < 0 ? "-INF" : "INF";
    // The 15 significant decimal digits of the value and its decimal exponent.
    char buf[64];
    auto res =
        std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific, 14);
    const std::string sci(buf, res.ptr);
    const std::size_t e = sci.find('e');
    std::string digits = sci.substr(0, 1) + sci.substr(2, e - 2); // 15 digits
    int exp10 = std::atoi(sci.c_str() + e + 1);
    const bool negative = value < 0;
    if (value == 0) {
        digits.assign(15, '0');
        exp10 = 0;
    }
    if (exp10 >= 15) {
        std::string out = negative ? "-" : "";
        out += digits[0];
        out += '.';
        out.append(digits, 1, std::string::npos);
        out += "E+";
        out += std::to_string(exp10);
        return out;
    }
    // Decimal rounding of the digit string (half away from zero) at `decimals` places.
    // The number is 0.d1d2d3... * 10^(exp10 + 1); keep intDigits + decimals digits.
    const int intDigits = exp10 + 1; // may be <= 0
    const int keep = intDigits + decimals;
    std::string kept;
    if (keep > 0) {
        kept = digits.substr(0, std::size_t(std::min(keep, 15)));
        if (keep > 15)
            kept.append(std::size_t(keep - 15), '0');
        if (keep < 15 && digits[std::size_t(keep)] >= '5') {
            int i = int(kept.size()) - 1;
            while (i >= 0 && kept[std::size_t(i)] == '9')
                kept[std::size_t(i--)] = '0';
            if (i >= 0)
                ++kept[std::size_t(i)];
            else
                kept.insert(kept.begin(), '1');
        }
    } else if (keep == 0 && digits[0] >= '5') {
        kept = "1";
    }
    // kept holds the value * 10^decimals as a whole number.
    if (kept.size() < std::size_t(decimals) + 1)
        kept.insert(0, std::size_t(decimals) + 1 - kept.size(), '0');
    std::string out;
    const std::size_t point = kept.size() - std::size_t(decimals);
    out = kept.substr(0, point);
    if (decimals > 0) {
        out += '.';
        out.append(kept, point, std::string::npos);
    }
    if (negative && kept.find_first_not_of('0') != std::string::npos)
        out.insert(out.begin(), '-');
    return out;
}

std::u16string formatFixed16(double value, int decimals) {
    const std::string s = formatFixed(value, decimals);
    return std::u16string(s.begin(), s.end());
}

} // namespace pm
