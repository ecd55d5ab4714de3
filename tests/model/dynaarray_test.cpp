#include "model/dynaarray.h"
#include "support/fakes.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <sstream>

namespace pm {
namespace {

struct Rec16 {
    double a;
    double b;
};

Rec16* at(TDynaArray& arr, int i) {
    return static_cast<Rec16*>(arr.GetObject(i));
}

// Appends n records, each holding its index.
void fill(TDynaArray& arr, int n) {
    for (int i = 0; i < n; ++i) {
        auto* r = static_cast<Rec16*>(arr.Add());
        r->a = double(arr.count()) - 1;
    }
}

void* failingAlloc(std::size_t) {
    errno = ENOMEM;
    return nullptr;
}

TEST(DynaArray, GrowsAndShrinksInStepsOfHundredRecords) {
    Cursor<Rec16> cur;
    TDynaArray arr(16, &cur);
    EXPECT_EQ(arr.amemsize(), 0u);
    fill(arr, 1);
    EXPECT_EQ(arr.amemsize(), 1600u);
    fill(arr, 99);
    EXPECT_EQ(arr.amemsize(), 1600u);
    fill(arr, 1);
    EXPECT_EQ(arr.count(), 101u);
    EXPECT_EQ(arr.amemsize(), 3200u);
    for (int i = 0; i < 101; ++i)
        ASSERT_EQ(at(arr, i)->a, i) << i;
    arr.Delete(0);
    EXPECT_EQ(arr.amemsize(), 1600u);
    EXPECT_EQ(at(arr, 0)->a, 1);
    EXPECT_EQ(at(arr, 98)->a, 99);
    while (arr.count() > 0)
        arr.Delete(0);
    EXPECT_EQ(arr.amemsize(), 0u);
    EXPECT_EQ(arr.data(), nullptr);
}

TEST(DynaArray, BlockSizeFollowsRecordSizeAndStep) {
    TDynaArray elements(179, static_cast<void**>(nullptr));
    elements.Add();
    EXPECT_EQ(elements.amemsize(), 17900u);
    for (int i = 0; i < 100; ++i)
        elements.Add();
    EXPECT_EQ(elements.amemsize(), 35800u);

    TDynaArray big(240, static_cast<void**>(nullptr));
    big.setBuffersize(100000);
    big.Add();
    EXPECT_EQ(big.amemsize(), 24000000u);
}

TEST(DynaArray, RecordAddedAfterDeleteInSameStepIsZero) {
    Cursor<Rec16> cur;
    TDynaArray arr(16, &cur);
    fill(arr, 3);
    at(arr, 2)->b = 7;
    arr.Delete(2);
    auto* r = static_cast<Rec16*>(arr.Add());
    EXPECT_EQ(r->a, 0);
    EXPECT_EQ(r->b, 0);
    EXPECT_EQ(cur.get(), r);
}

TEST(DynaArray, WhileNextIteratesWithIndexOnePastCurrent) {
    Cursor<Rec16> cur;
    TDynaArray arr(16, &cur);
    Rec16 sentinel{};
    cur.raw = &sentinel;
    arr.First();
    EXPECT_FALSE(arr.WhileNext());
    EXPECT_EQ(cur.get(), &sentinel);

    fill(arr, 3);
    arr.First();
    std::vector<double> seen;
    std::vector<int> indices;
    while (arr.WhileNext()) {
        seen.push_back(cur->a);
        indices.push_back(arr.aobjnr());
    }
    EXPECT_EQ(seen, (std::vector<double>{0, 1, 2}));
    EXPECT_EQ(indices, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(cur.get(), arr.GetObject(2)); // stays on the last record visited
}

TEST(DynaArray, NextMovesFromNoCursorToFirstAndStopsAtLast) {
    Cursor<Rec16> cur;
    TDynaArray arr(16, &cur);
    EXPECT_FALSE(arr.Next());
    fill(arr, 3);
    arr.Delete(2); // clears the cursor
    EXPECT_EQ(cur.get(), nullptr);
    EXPECT_EQ(arr.aobjnr(), -1);
    EXPECT_TRUE(arr.Next());
    EXPECT_EQ(arr.aobjnr(), 0);
    EXPECT_TRUE(arr.Next());
    EXPECT_EQ(cur->a, 1);
    EXPECT_FALSE(arr.Next());
    EXPECT_EQ(arr.aobjnr(), 1);
}

TEST(DynaArray, OutOfRangeIndicesChangeNothing) {
    Cursor<Rec16> cur;
    TDynaArray arr(16, &cur);
    arr.Delete(0);
    EXPECT_EQ(arr.count(), 0u);
    fill(arr, 3);
    arr.Delete(3);
    arr.Delete(-1);
    EXPECT_EQ(arr.count(), 3u);
    EXPECT_EQ(arr.Insert(4), nullptr);
    EXPECT_EQ(arr.Insert(-1), nullptr);
    EXPECT_EQ(arr.count(), 3u);
    arr.Change(0, 3);
    EXPECT_EQ(at(arr, 0)->a, 0);
}

TEST(DynaArray, InsertShiftsAndAppendsAtCount) {
    Cursor<Rec16> cur;
    TDynaArray arr(16, &cur);
    fill(arr, 2);
    static_cast<Rec16*>(arr.Insert(2))->a = 9; // Insert(count) appends
    auto* r = static_cast<Rec16*>(arr.Insert(0));
    EXPECT_EQ(r->a, 0);
    EXPECT_EQ(cur.get(), r);
    EXPECT_EQ(arr.aobjnr(), 0);
    r->a = 5;
    std::vector<double> all;
    for (int i = 0; i < 4; ++i)
        all.push_back(at(arr, i)->a);
    EXPECT_EQ(all, (std::vector<double>{5, 0, 1, 9}));
}

TEST(DynaArray, ChangeSwapsAndLeavesCursorOnSecondIndex) {
    Cursor<Rec16> cur;
    TDynaArray arr(16, &cur);
    fill(arr, 3);
    arr.Change(0, 2);
    EXPECT_EQ(arr.aobjnr(), 2);
    EXPECT_EQ(cur->a, 0);
    EXPECT_EQ(at(arr, 0)->a, 2);
    arr.Change(1, 1);
    EXPECT_EQ(arr.aobjnr(), 1);
    EXPECT_EQ(cur->a, 1);
}

TEST(DynaArray, ArraysCanShareOneCursorVariable) {
    Cursor<Rec16> shared;
    TDynaArray a(16, &shared), b(16, &shared);
    auto* ra = static_cast<Rec16*>(a.Add());
    EXPECT_EQ(shared.get(), ra);
    auto* rb = static_cast<Rec16*>(b.Add());
    EXPECT_EQ(shared.get(), rb);
}

TEST(DynaArray, FailedAllocationIsReportedAndLeavesArrayUnchanged) {
    test::FakeMessages msgs;
    Cursor<Rec16> cur;
    TDynaArray arr(16, &cur, &msgs);

    arr.setAllocator(failingAlloc);
    EXPECT_EQ(arr.Add(), nullptr);
    EXPECT_EQ(arr.count(), 0u);
    ASSERT_EQ(msgs.shown.size(), 1u);
    EXPECT_EQ(msgs.shown[0].text,
              "Error 1 while trying to allocate 1600 bytes of RAM. Not enough memory.");
    EXPECT_EQ(msgs.shown[0].caption, "");
    EXPECT_EQ(msgs.shown[0].icon, MsgIcon::Error);

    arr.setAllocator([](std::size_t n) { return std::calloc(n, 1); });
    fill(arr, 100);
    arr.setAllocator(failingAlloc);
    EXPECT_EQ(arr.Add(), nullptr);
    EXPECT_EQ(arr.Insert(0), nullptr);
    EXPECT_EQ(arr.count(), 100u);
    EXPECT_EQ(arr.amemsize(), 1600u);
    EXPECT_EQ(msgs.shown.at(1).text,
              "Error 2 while trying to allocate 3200 bytes of RAM. Not enough memory." +
                  std::to_string(ENOMEM));
    EXPECT_EQ(at(arr, 99)->a, 99);

    arr.setAllocator([](std::size_t n) { return std::calloc(n, 1); });
    fill(arr, 1);
    arr.setAllocator(failingAlloc);
    arr.Delete(0);
    EXPECT_EQ(msgs.shown.at(3).text,
              "Error 3 while trying to allocate 1600 bytes of RAM. Not enough memory.");
    EXPECT_EQ(arr.count(), 101u);
    EXPECT_EQ(at(arr, 0)->a, 0);
    EXPECT_EQ(at(arr, 100)->a, 100);
    EXPECT_EQ(at(arr, 50)->a, 50);
}

TEST(WString, WritesCountAndLittleEndianCodeUnits) {
    std::ostringstream out;
    WriteWString(out, u"abc");
    WriteWString(out, u"");
    const std::string bytes = out.str();
    const unsigned char expected[] = {3, 0, 0, 0, 0x61, 0, 0x62, 0, 0x63, 0, 0, 0, 0, 0};
    ASSERT_EQ(bytes.size(), sizeof expected);
    EXPECT_EQ(std::memcmp(bytes.data(), expected, sizeof expected), 0);
}

TEST(WString, ReadsBackWhatWasWrittenAndRejectsBadCounts) {
    std::stringstream io;
    const std::u16string text = u"Maßstab \U0001F4D0 Fuß";
    WriteWString(io, text);
    EXPECT_EQ(ReadWString(io), text);

    struct Case {
        const char* name;
        std::string bytes;
    };
    const Case bad[] = {
        {"short count", std::string("\x01\x00", 2)},
        {"negative count", std::string("\xff\xff\xff\xff", 4)},
        {"count past the end", std::string("\x05\x00\x00\x00\x61\x00", 6)},
        {"forged huge count", std::string("\xff\xff\xff\x7f\x61\x00", 6)},
    };
    for (const Case& c : bad) {
        std::istringstream in(c.bytes);
        EXPECT_THROW(ReadWString(in), std::runtime_error) << c.name;
    }
}

} // namespace
} // namespace pm
