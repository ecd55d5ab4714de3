#pragma once
// Small helpers for the UTF-16 texts of the core and little-endian numbers.

#include <cstdint>
#include <string>
#include <string_view>

namespace pm {

std::u16string fromUtf8(std::string_view s);
std::string toUtf8(std::u16string_view s);

inline void putLE32(unsigned char* p, std::int32_t v) {
    const auto u = std::uint32_t(v);
    p[0] = std::uint8_t(u);
    p[1] = std::uint8_t(u >> 8);
    p[2] = std::uint8_t(u >> 16);
    p[3] = std::uint8_t(u >> 24);
}

inline std::int32_t getLE32(const unsigned char* p) {
    return std::int32_t(std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
                        std::uint32_t(p[3]) << 24);
}

// Bounds-checked reading of little-endian data held in memory; every read that would run past
// the end returns false and leaves the position where it was.
class ByteReader {
public:
    ByteReader(const unsigned char* data, std::size_t size) : p_(data), size_(size) {}
    std::size_t remaining() const { return size_ - pos_; }
    std::size_t pos() const { return pos_; }
    bool readInt32(std::int32_t& v);
    bool readBytes(void* dst, std::size_t n);
    bool skip(std::size_t n);
    // A length-prefixed UTF-16LE string; false on a negative count or one past the end.
    bool readWString(std::u16string& s);

private:
    const unsigned char* p_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

} // namespace pm
