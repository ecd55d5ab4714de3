#include "model/dynaarray.h"

#include "model/services.h"
#include "model/text.h"

#include <cassert>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <stdexcept>

namespace pm {

namespace {
void* zeroAlloc(std::size_t n) {
    return std::calloc(n, 1);
}
} // namespace

TDynaArray::TDynaArray(std::uint32_t thesize, void** typpoi, MessageService* messages)
    : outeraobj_(typpoi), size_(thesize ? thesize : 1), messages_(messages), alloc_(zeroAlloc) {}

TDynaArray::~TDynaArray() {
    std::free(poi_);
}

std::size_t TDynaArray::neededBytes(std::uint64_t records) const {
    if (records == 0)
        return 0;
    // 64-bit arithmetic: a wrapped 32-bit size would hand out a block smaller than the records.
    const std::uint64_t steps = (records - 1) / buffersize_ + 1;
    const std::uint64_t bytes = steps * buffersize_ * std::uint64_t(size_);
    if (bytes > std::numeric_limits<std::size_t>::max() / 2)
        return std::numeric_limits<std::size_t>::max();
    return std::size_t(bytes);
}

void TDynaArray::reportFailure(int which, std::size_t n, bool withErrno) {
    if (!messages_)
        return;
    std::string text = "Error " + std::to_string(which) + " while trying to allocate " +
                       std::to_string(n) + " bytes of RAM. Not enough memory.";
    if (withErrno)
        text += std::to_string(errno);
    messages_->show(fromUtf8(text), u"", MsgIcon::Error);
}

bool TDynaArray::growTo(std::uint32_t newCount) {
    const std::size_t n = neededBytes(newCount);
    if (n == amemsize_)
        return true;
    const bool fresh = newCount == 1 || poi_ == nullptr;
    errno = 0;
    void* block = n == std::numeric_limits<std::size_t>::max() ? nullptr : alloc_(n);
    if (!block) {
        if (errno == 0)
            errno = ENOMEM;
        reportFailure(fresh ? 1 : 2, n, !fresh);
        return false;
    }
    if (!fresh)
        std::memcpy(block, poi_, amemsize_);
    std::free(poi_);
    poi_ = static_cast<unsigned char*>(block);
    amemsize_ = n;
    return true;
}

void TDynaArray::moveCursor(std::int32_t index) {
    aobjnr_ = index;
    aobj_ = record(std::uint32_t(index));
    if (outeraobj_)
        *outeraobj_ = aobj_;
}

void TDynaArray::clearCursor() {
    aobjnr_ = -1;
    aobj_ = nullptr;
    if (outeraobj_)
        *outeraobj_ = nullptr;
}

void* TDynaArray::GetObject(std::int32_t index) {
    assert(index >= 0 && std::uint32_t(index) < count_);
    moveCursor(index);
    return aobj_;
}

void* TDynaArray::Add() {
    return Insert(std::int32_t(count_));
}

void* TDynaArray::Insert(std::int32_t index) {
    if (index < 0 || std::uint32_t(index) > count_ ||
        count_ == std::uint32_t(std::numeric_limits<std::int32_t>::max()))
        return nullptr;
    if (!growTo(count_ + 1))
        return nullptr;
    ++count_;
    const std::uint32_t i = std::uint32_t(index);
    if (i + 1 < count_)
        std::memmove(record(i + 1), record(i), std::size_t(count_ - 1 - i) * size_);
    // The bytes may still hold a record deleted earlier within the same step.
    std::memset(record(i), 0, size_);
    moveCursor(index);
    return aobj_;
}

void TDynaArray::Delete(std::int32_t index) {
    if (index < 0 || std::uint32_t(index) >= count_)
        return;
    const std::uint32_t i = std::uint32_t(index);
    const std::uint32_t newCount = count_ - 1;
    const std::size_t n = neededBytes(newCount);
    if (n == amemsize_) {
        std::memmove(record(i), record(i + 1), std::size_t(newCount - i) * size_);
    } else if (newCount == 0) {
        std::free(poi_);
        poi_ = nullptr;
    } else {
        // Allocate the smaller block before touching anything, so a failure leaves the array
        // exactly as it was.
        auto* block = static_cast<unsigned char*>(alloc_(n));
        if (!block) {
            reportFailure(3, n, false);
            return;
        }
        std::memcpy(block, poi_, std::size_t(i) * size_);
        std::memcpy(block + std::size_t(i) * size_, record(i + 1),
                    std::size_t(newCount - i) * size_);
        std::free(poi_);
        poi_ = block;
    }
    amemsize_ = n;
    count_ = newCount;
    clearCursor();
}

void TDynaArray::Clear() {
    std::free(poi_);
    poi_ = nullptr;
    count_ = 0;
    amemsize_ = 0;
    clearCursor();
}

void TDynaArray::Change(std::int32_t index, std::int32_t index2) {
    if (index < 0 || index2 < 0 || std::uint32_t(index) >= count_ ||
        std::uint32_t(index2) >= count_)
        return;
    if (index != index2) {
        std::unique_ptr<unsigned char[]> tmp(new unsigned char[size_]);
        std::memcpy(tmp.get(), record(std::uint32_t(index)), size_);
        std::memcpy(record(std::uint32_t(index)), record(std::uint32_t(index2)), size_);
        std::memcpy(record(std::uint32_t(index2)), tmp.get(), size_);
    }
    moveCursor(index2);
}

void TDynaArray::First() {
    if (count_ > 0)
        moveCursor(0);
}

bool TDynaArray::Next() {
    if (count_ == 0 || aobjnr_ < -1 || aobjnr_ >= std::int32_t(count_) - 1)
        return false;
    moveCursor(aobjnr_ + 1);
    return true;
}

bool TDynaArray::WhileNext() {
    if (count_ == 0 || aobjnr_ < 0 || aobjnr_ > std::int32_t(count_) - 1)
        return false;
    moveCursor(aobjnr_);
    ++aobjnr_;
    return true;
}

void WriteWString(std::ostream& out, std::u16string_view text) {
    if (text.size() > std::size_t(std::numeric_limits<std::int32_t>::max()))
        throw std::runtime_error("string too long to write");
    unsigned char head[4];
    putLE32(head, std::int32_t(text.size()));
    out.write(reinterpret_cast<const char*>(head), 4);
    std::string bytes(text.size() * 2, '\0');
    for (std::size_t i = 0; i < text.size(); ++i) {
        bytes[2 * i] = char(text[i] & 0xFF);
        bytes[2 * i + 1] = char(text[i] >> 8);
    }
    out.write(bytes.data(), std::streamsize(bytes.size()));
    if (!out)
        throw std::runtime_error("write failed");
}

std::u16string ReadWString(std::istream& in) {
    unsigned char head[4];
    if (!in.read(reinterpret_cast<char*>(head), 4))
        throw std::runtime_error("short read");
    const std::int32_t n = getLE32(head);
    if (n < 0)
        throw std::runtime_error("negative string length");
    std::u16string text;
    // Read in pieces so that a forged count cannot make us allocate more than the file holds.
    constexpr std::size_t chunk = 32768;
    std::string bytes;
    std::size_t left = std::size_t(n);
    while (left > 0) {
        const std::size_t take = left < chunk ? left : chunk;
        bytes.resize(take * 2);
        if (!in.read(bytes.data(), std::streamsize(bytes.size())))
            throw std::runtime_error("short read");
        for (std::size_t i = 0; i < take; ++i)
            text.push_back(
                char16_t(std::uint8_t(bytes[2 * i]) | std::uint8_t(bytes[2 * i + 1]) << 8));
        left -= take;
    }
    return text;
}

} // namespace pm
