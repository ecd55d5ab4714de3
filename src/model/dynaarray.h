#pragma once
// The one container of the program: fixed-size plain records in one zero-filled block that
// grows and shrinks in steps, with a cursor that is published into an owner's variable.

#include <cstddef>
#include <cstdint>
#include <istream>
#include <ostream>
#include <string>
#include <string_view>

namespace pm {

class MessageService;

// An owner's cursor variable. Several arrays may share one (all vertex arrays share `avert`).
template <class T> struct Cursor {
    void* raw = nullptr;
    T* get() const { return static_cast<T*>(raw); }
    T* operator->() const { return get(); }
    T& operator*() const { return *get(); }
    explicit operator bool() const { return raw != nullptr; }
};

// Allocates `n` zero-filled bytes, or returns null.
using ZeroAllocFn = void* (*)(std::size_t n);

class TDynaArray {
public:
    TDynaArray(std::uint32_t thesize, void** typpoi, MessageService* messages = nullptr);
    template <class T>
    TDynaArray(std::uint32_t thesize, Cursor<T>* cursor, MessageService* messages = nullptr)
        : TDynaArray(thesize, cursor ? &cursor->raw : nullptr, messages) {}
    ~TDynaArray();
    TDynaArray(const TDynaArray&) = delete;
    TDynaArray& operator=(const TDynaArray&) = delete;

    // No bounds check: the caller guarantees 0 <= index < count.
    void* GetObject(std::int32_t index);
    // Null when the block could not be grown; the array is then unchanged.
    void* Add();
    void* Insert(std::int32_t index);
    void Delete(std::int32_t index);
    void Clear();
    void Change(std::int32_t index, std::int32_t index2);
    void First();
    bool Next();
    bool WhileNext();

    std::uint32_t count() const { return count_; }
    std::int32_t aobjnr() const { return aobjnr_; }
    void* aobj() const { return aobj_; }
    std::size_t amemsize() const { return amemsize_; }
    std::uint32_t size() const { return size_; }
    std::uint32_t buffersize() const { return buffersize_; }
    // Set before adding records; 0 is taken as 1.
    void setBuffersize(std::uint32_t records) { buffersize_ = records ? records : 1; }
    const unsigned char* data() const { return poi_; }
    unsigned char* data() { return poi_; }

    // Tests replace the allocator to provoke failures.
    void setAllocator(ZeroAllocFn fn) { alloc_ = fn; }

private:
    std::size_t neededBytes(std::uint64_t records) const;
    bool growTo(std::uint32_t newCount);
    void moveCursor(std::int32_t index);
    void clearCursor();
    void reportFailure(int which, std::size_t n, bool withErrno);
    unsigned char* record(std::uint32_t i) const { return poi_ + std::size_t(i) * size_; }

    void** outeraobj_;
    void* aobj_ = nullptr;
    unsigned char* poi_ = nullptr;
    std::uint32_t count_ = 0;
    std::int32_t aobjnr_ = -1;
    std::size_t amemsize_ = 0;
    std::uint32_t buffersize_ = 100;
    std::uint32_t size_;
    MessageService* messages_;
    ZeroAllocFn alloc_;
};

// Length-prefixed UTF-16 strings in binary files: signed 32-bit count of code units, then the
// code units as UTF-16LE, no terminator. Failures throw std::runtime_error.
void WriteWString(std::ostream& out, std::u16string_view text);
std::u16string ReadWString(std::istream& in);

} // namespace pm
