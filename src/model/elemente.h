#pragma once
// Measurement elements and the element list. Elements are plain records chosen by their type
// code; each owns a vertex array and a label buffer, released only by the list operations here.

#include "model/dynaarray.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>

namespace pm {

enum ElementType : std::int32_t {
    typLine = 0,       // straight line p1-p2 (only from project files)
    typQuadCurve = 1,  // quadratic curve, control point p3
    typCubicCurve = 2, // cubic curve, control points p3, p4
    typRechteck = 55,
    typEllipse = 66,
    typAbstand = 77, // distance; slanted when x4 != 0
    typMassstab = 88,
    typPolygon = 99,
    typStrecke = 100, // open path
    typText = 101,
};

struct Tvert {
    double x;
    double y;
};
static_assert(sizeof(Tvert) == 16);

// The same fields as the 179-byte record of the project file, in natural layout; the project
// file writes and reads it field by field.
struct Telemente {
    std::int32_t dragvertnr;
    std::int32_t nr;
    std::int32_t typ;
    double lang;
    double flaeche;
    double winkel;
    double x1, y1, x2, y2, x3, y3, x4, y4;
    double ox1, oy1, ox2, oy2, ox3, oy3, ox4, oy4;
    bool closed;
    bool dragvert;
    bool selected;
    bool dragit1, dragit2, dragit3, dragit4;
    TDynaArray* vert; // owned
    char16_t* name;   // owned, zero-terminated; null reads as the empty label
};
static_assert(std::is_trivially_copyable_v<Telemente>, "records are moved as raw bytes");

// Allocates (length + 1) * 2 zeroed bytes, copies the text and stores the buffer in dest.
// It does not release an earlier buffer.
void storename(char16_t*& dest, std::u16string_view text);
// Releases the old label, then stores the new one.
void replacename(char16_t*& dest, std::u16string_view text);
std::u16string_view labelOf(const Telemente& e);

class ElementList {
public:
    explicit ElementList(MessageService* messages = nullptr);
    ~ElementList();
    ElementList(const ElementList&) = delete;
    ElementList& operator=(const ElementList&) = delete;

    int count() const { return int(elemente.count()); }
    // Moves the cursor `aele` to element i.
    Telemente* GetObject(int i) { return static_cast<Telemente*>(elemente.GetObject(i)); }
    // Element i without moving the cursor.
    Telemente& at(int i) const {
        return *reinterpret_cast<Telemente*>(const_cast<unsigned char*>(elemente.data()) +
                                             std::size_t(i) * sizeof(Telemente));
    }
    // A zero-filled element with its own empty vertex array; null when memory ran out (the
    // list is then unchanged).
    Telemente* append();
    // A deep copy of `src` (own vertices, own label) appended at the end.
    Telemente* appendCopy(const Telemente& src);
    void remove(int i);
    void removeAll();
    // Removes every selected element, from the last index to the first.
    void removeSelected();
    Tvert* appendVertex(Telemente& e, double x, double y);
    void unselectall();

    // "Kopieren": the first selected element in list order ends up in `kopie`; nothing
    // selected keeps what `kopie` held. Returns whether anything was copied.
    bool copySelectedToKopie();

    MessageService* messages() const { return messages_; }

    Cursor<Telemente> aele;
    Cursor<Tvert> avert;
    TDynaArray elemente;
    Telemente kopie{};
    bool kopiert = false;

private:
    bool deepCopy(const Telemente& src, Telemente& dst);
    static void release(Telemente& e);
    MessageService* messages_;
};

} // namespace pm
