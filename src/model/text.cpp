#include "model/text.h"

#include <cstring>

namespace pm {

std::u16string fromUtf8(std::string_view s) {
    std::u16string out;
    out.reserve(s.size());
    std::size_t i = 0;
    while (i < s.size()) {
        const auto c = std::uint8_t(s[i]);
        char32_t cp = 0xFFFD;
        std::size_t len = 1;
        if (c < 0x80) {
            cp = c;
        } else if ((c >> 5) == 6 && i + 1 < s.size()) {
            cp = char32_t(c & 0x1F) << 6 | (std::uint8_t(s[i + 1]) & 0x3F);
            len = 2;
        } else if ((c >> 4) == 14 && i + 2 < s.size()) {
            cp = char32_t(c & 0x0F) << 12 | char32_t(std::uint8_t(s[i + 1]) & 0x3F) << 6 |
                 (std::uint8_t(s[i + 2]) & 0x3F);
            len = 3;
        } else if ((c >> 3) == 30 && i + 3 < s.size()) {
            cp = char32_t(c & 0x07) << 18 | char32_t(std::uint8_t(s[i + 1]) & 0x3F) << 12 |
                 char32_t(std::uint8_t(s[i + 2]) & 0x3F) << 6 | (std::uint8_t(s[i + 3]) & 0x3F);
            len = 4;
        }
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(char16_t(0xD800 + (cp >> 10)));
            out.push_back(char16_t(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(char16_t(cp));
        }
        i += len;
    }
    return out;
}

std::string toUtf8(std::u16string_view s) {
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        char32_t cp = s[i];
        if (cp >= 0xD800 && cp < 0xDC00 && i + 1 < s.size() && s[i + 1] >= 0xDC00 &&
            s[i + 1] < 0xE000) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (s[i + 1] - 0xDC00);
            ++i;
        }
        if (cp < 0x80) {
            out.push_back(char(cp));
        } else if (cp < 0x800) {
            out.push_back(char(0xC0 | cp >> 6));
            out.push_back(char(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            out.push_back(char(0xE0 | cp >> 12));
            out.push_back(char(0x80 | (cp >> 6 & 0x3F)));
            out.push_back(char(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(char(0xF0 | cp >> 18));
            out.push_back(char(0x80 | (cp >> 12 & 0x3F)));
            out.push_back(char(0x80 | (cp >> 6 & 0x3F)));
            out.push_back(char(0x80 | (cp & 0x3F)));
        }
    }
    return out;
}

bool ByteReader::readInt32(std::int32_t& v) {
    if (remaining() < 4)
        return false;
    v = getLE32(p_ + pos_);
    pos_ += 4;
    return true;
}

bool ByteReader::readBytes(void* dst, std::size_t n) {
    if (remaining() < n)
        return false;
    if (n)
        std::memcpy(dst, p_ + pos_, n);
    pos_ += n;
    return true;
}

bool ByteReader::skip(std::size_t n) {
    if (remaining() < n)
        return false;
    pos_ += n;
    return true;
}

bool ByteReader::readWString(std::u16string& s) {
    const std::size_t start = pos_;
    std::int32_t n = 0;
    if (!readInt32(n))
        return false;
    if (n < 0 || remaining() / 2 < std::size_t(n)) {
        pos_ = start;
        return false;
    }
    s.resize(std::size_t(n));
    for (std::size_t i = 0; i < std::size_t(n); ++i)
        s[i] = char16_t(p_[pos_ + 2 * i] | p_[pos_ + 2 * i + 1] << 8);
    pos_ += std::size_t(n) * 2;
    return true;
}

} // namespace pm
