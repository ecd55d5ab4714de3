#include "model/elemente.h"

#include <cstring>

namespace pm {

void storename(char16_t*& dest, std::u16string_view text) {
    auto* buf = new char16_t[text.size() + 1];
    std::memset(buf, 0, (text.size() + 1) * sizeof(char16_t));
    if (!text.empty())
        std::memcpy(buf, text.data(), text.size() * sizeof(char16_t));
    dest = buf;
}

void replacename(char16_t*& dest, std::u16string_view text) {
    delete[] dest;
    dest = nullptr;
    storename(dest, text);
}

std::u16string_view labelOf(const Telemente& e) {
    return e.name ? std::u16string_view(e.name) : std::u16string_view();
}

ElementList::ElementList(MessageService* messages)
    : elemente(sizeof(Telemente), &aele, messages), messages_(messages) {}

ElementList::~ElementList() {
    removeAll();
    release(kopie);
}

void ElementList::release(Telemente& e) {
    delete[] e.name;
    e.name = nullptr;
    delete e.vert;
    e.vert = nullptr;
}

Telemente* ElementList::append() {
    auto* vert = new TDynaArray(sizeof(Tvert), &avert, messages_);
    auto* e = static_cast<Telemente*>(elemente.Add());
    if (!e) {
        delete vert;
        return nullptr;
    }
    e->vert = vert;
    return e;
}

bool ElementList::deepCopy(const Telemente& src, Telemente& dst) {
    auto* vert = new TDynaArray(sizeof(Tvert), &avert, messages_);
    if (src.vert) {
        for (std::uint32_t i = 0; i < src.vert->count(); ++i) {
            auto* v = static_cast<Tvert*>(vert->Add());
            if (!v) {
                delete vert;
                return false;
            }
            *v = *static_cast<const Tvert*>(
                static_cast<const void*>(src.vert->data() + i * sizeof(Tvert)));
        }
    }
    dst = src;
    dst.vert = vert;
    dst.name = nullptr;
    if (src.name)
        storename(dst.name, labelOf(src));
    return true;
}

Telemente* ElementList::appendCopy(const Telemente& src) {
    Telemente copy{};
    if (!deepCopy(src, copy))
        return nullptr;
    auto* e = static_cast<Telemente*>(elemente.Add());
    if (!e) {
        release(copy);
        return nullptr;
    }
    *e = copy;
    return e;
}

void ElementList::remove(int i) {
    if (i < 0 || i >= count())
        return;
    Telemente gone = *GetObject(i);
    const std::uint32_t before = elemente.count();
    elemente.Delete(i);
    // Release only once the record has really left the list: a failed shrink keeps it whole.
    if (elemente.count() < before)
        release(gone);
}

void ElementList::removeAll() {
    for (std::uint32_t i = 0; i < elemente.count(); ++i)
        release(*static_cast<Telemente*>(elemente.GetObject(std::int32_t(i))));
    elemente.Clear();
}

void ElementList::removeSelected() {
    for (int i = count() - 1; i >= 0; --i) {
        if (GetObject(i)->selected)
            remove(i);
    }
}

Tvert* ElementList::appendVertex(Telemente& e, double x, double y) {
    auto* v = static_cast<Tvert*>(e.vert->Add());
    if (v) {
        v->x = x;
        v->y = y;
    }
    return v;
}

void ElementList::unselectall() {
    elemente.First();
    while (elemente.WhileNext())
        aele->selected = false;
}

bool ElementList::copySelectedToKopie() {
    bool any = false;
    for (int i = count() - 1; i >= 0; --i) {
        Telemente* e = GetObject(i);
        if (!e->selected)
            continue;
        Telemente copy{};
        if (!deepCopy(*e, copy))
            continue;
        release(kopie);
        kopie = copy;
        kopiert = true;
        any = true;
    }
    return any;
}

} // namespace pm
