#include "model/elemente.h"
#include "support/fakes.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

namespace pm {
namespace {

Telemente* addWith(ElementList& list, double x1, bool selected = false) {
    Telemente* e = list.append();
    e->typ = typAbstand;
    e->x1 = x1;
    e->selected = selected;
    return e;
}

std::vector<double> firstXs(ElementList& list) {
    std::vector<double> xs;
    for (int i = 0; i < list.count(); ++i)
        xs.push_back(list.GetObject(i)->x1);
    return xs;
}

TEST(ElementList, FreshElementIsZeroWithEmptyVerticesAndNoLabel) {
    ElementList list;
    Telemente* e = list.append();
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(list.aele.get(), e);
    EXPECT_EQ(e->typ, 0);
    EXPECT_EQ(e->nr, 0);
    for (double v : {e->x1, e->y1, e->x2, e->y2, e->x3, e->y3, e->x4, e->y4, e->lang})
        EXPECT_EQ(v, 0.0);
    for (bool f : {e->closed, e->dragvert, e->selected, e->dragit1, e->dragit4})
        EXPECT_FALSE(f);
    ASSERT_NE(e->vert, nullptr);
    EXPECT_EQ(e->vert->count(), 0u);
    EXPECT_EQ(e->name, nullptr);
    EXPECT_TRUE(labelOf(*e).empty());
}

TEST(ElementList, RemovingSelectedKeepsTheOthersInOrder) {
    ElementList list;
    for (int i = 0; i < 5; ++i) {
        Telemente* e = addWith(list, i, i == 1 || i == 3);
        storename(e->name, u"label");
        list.appendVertex(*e, i, i);
    }
    list.removeSelected();
    EXPECT_EQ(firstXs(list), (std::vector<double>{0, 2, 4}));
}

TEST(ElementList, VerticesShareTheAvertCursor) {
    ElementList list;
    Telemente* a = list.append();
    Telemente* b = list.append();
    Tvert* va = list.appendVertex(*a, 1, 2);
    EXPECT_EQ(list.avert.get(), va);
    Tvert* vb = list.appendVertex(*b, 3, 4);
    EXPECT_EQ(list.avert.get(), vb);
    EXPECT_EQ(va->x, 1);
    EXPECT_EQ(vb->y, 4);
}

TEST(Labels, StorenameCopiesWithTerminatorAndReplaceReleasesOld) {
    char16_t* name = nullptr;
    const std::u16string long255(255, u'x');
    storename(name, long255);
    EXPECT_EQ(std::u16string_view(name), long255);
    EXPECT_EQ(name[255], 0); // 256 code units: 512 bytes
    replacename(name, u"");
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(name[0], 0);
    replacename(name, u"Dach");
    EXPECT_EQ(std::u16string_view(name), u"Dach");
    delete[] name; // the sanitizer build reports a double release or a leak
}

TEST(Kopie, FirstSelectedInListOrderIsCopiedDeeply) {
    ElementList list;
    addWith(list, 0);
    Telemente* first = addWith(list, 1, true);
    storename(first->name, u"first");
    list.appendVertex(*first, 10, 20);
    Telemente* second = addWith(list, 2, true);
    storename(second->name, u"second");

    EXPECT_TRUE(list.copySelectedToKopie());
    EXPECT_TRUE(list.kopiert);
    EXPECT_EQ(list.kopie.x1, 1);
    EXPECT_EQ(labelOf(list.kopie), u"first");
    ASSERT_EQ(list.kopie.vert->count(), 1u);

    // Changing or removing the original leaves the copy alone.
    replacename(list.GetObject(1)->name, u"changed");
    list.remove(1);
    EXPECT_EQ(labelOf(list.kopie), u"first");
    EXPECT_EQ(reinterpret_cast<const Tvert*>(list.kopie.vert->data())->y, 20);

    list.unselectall();
    EXPECT_FALSE(list.copySelectedToKopie());
    EXPECT_EQ(list.kopie.x1, 1); // nothing selected keeps what kopie held

    Telemente* pasted = list.appendCopy(list.kopie);
    ASSERT_NE(pasted, nullptr);
    EXPECT_EQ(list.count(), 3);
    EXPECT_TRUE(pasted->selected);
    EXPECT_NE(pasted->name, list.kopie.name);
    EXPECT_NE(pasted->vert, list.kopie.vert);
    EXPECT_EQ(labelOf(*pasted), u"first");
}

TEST(ElementList, AppendThatRunsOutOfMemoryLeavesListUnchanged) {
    test::FakeMessages msgs;
    ElementList list(&msgs);
    addWith(list, 0);
    list.elemente.setAllocator([](std::size_t) -> void* { return nullptr; });
    for (int i = 0; i < 99; ++i)
        list.append(); // fills the first step without allocating
    EXPECT_EQ(list.count(), 100);
    EXPECT_EQ(list.append(), nullptr);
    EXPECT_EQ(list.count(), 100);
    EXPECT_EQ(msgs.shown.size(), 1u);
}

TEST(ElementList, RemoveAllReleasesEveryElement) {
    ElementList list;
    for (int i = 0; i < 250; ++i) {
        Telemente* e = addWith(list, i);
        storename(e->name, u"x");
        list.appendVertex(*e, 1, 1);
    }
    list.removeAll();
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(list.elemente.amemsize(), 0u);
}

} // namespace
} // namespace pm
