// Insert at head, unlink, 1-based positions and lookups of the record lists.
#include <gtest/gtest.h>

#include "model/lists.h"
#include "model/records.h"

namespace qv {
namespace {

struct ListOfThree : ::testing::Test {
    Planet a, b, c;
    Planet* head = nullptr;
    void SetUp() override {
        InsertAtHead(head, &a);
        InsertAtHead(head, &b);
        InsertAtHead(head, &c);  // list: c, b, a
    }
};

TEST_F(ListOfThree, NewRecordsComeFirstAndLinksAreJoined) {
    EXPECT_EQ(head, &c);
    EXPECT_EQ(c.prev, nullptr);
    EXPECT_EQ(c.next, &b);
    EXPECT_EQ(b.prev, &c);
    EXPECT_EQ(b.next, &a);
    EXPECT_EQ(a.prev, &b);
    EXPECT_EQ(a.next, nullptr);
    EXPECT_EQ(CountOf(head), 3);
    EXPECT_EQ(LastOf(head), &a);
}

TEST_F(ListOfThree, PositionsCountFromOneAtTheHead) {
    EXPECT_EQ(IndexOf(head, &c), 1);
    EXPECT_EQ(IndexOf(head, &b), 2);
    EXPECT_EQ(IndexOf(head, &a), 3);
    EXPECT_EQ(IndexOf<Planet>(head, nullptr), 0);
    Planet stranger;
    EXPECT_EQ(IndexOf(head, &stranger), 0);

    EXPECT_EQ(RecordAt(head, 1), &c);
    EXPECT_EQ(RecordAt(head, 3), &a);
    EXPECT_EQ(RecordAt(head, 4), nullptr);
    EXPECT_EQ(RecordAt(head, 0), nullptr);
    EXPECT_EQ(RecordAt(head, -2), nullptr);
}

TEST_F(ListOfThree, UnlinkHeadMiddleAndTail) {
    Unlink(head, &c);  // head
    EXPECT_EQ(head, &b);
    EXPECT_EQ(b.prev, nullptr);
    // The unlinked record keeps its own links.
    EXPECT_EQ(c.next, &b);

    InsertAtHead(head, &c);
    Unlink(head, &b);  // middle
    EXPECT_EQ(head, &c);
    EXPECT_EQ(c.next, &a);
    EXPECT_EQ(a.prev, &c);

    Unlink(head, &a);  // tail
    EXPECT_EQ(c.next, nullptr);
    EXPECT_EQ(CountOf(head), 1);
}

TEST(RecordLists, UnlinkingTheOnlyRecordEmptiesTheList) {
    Ship s;
    Ship* head = nullptr;
    EXPECT_EQ(CountOf(head), 0);
    EXPECT_EQ(LastOf(head), nullptr);
    InsertAtHead(head, &s);
    Unlink(head, &s);
    EXPECT_EQ(head, nullptr);
    EXPECT_EQ(RecordAt(head, 1), nullptr);
}

TEST(RecordLists, FreeListLeavesItEmpty) {
    Weapon* head = nullptr;
    for (int i = 0; i < 5; ++i) InsertAtHead(head, new Weapon);
    EXPECT_EQ(CountOf(head), 5);
    FreeList(head);  // the address sanitizer catches a leak or a double free
    EXPECT_EQ(head, nullptr);
}

TEST(RecordDefaults, RecordsStartZeroedWithTheirDefaults) {
    Planet p;
    EXPECT_EQ(p.shieldPoints, 500);
    EXPECT_EQ(p.weapon, nullptr);
    for (int e : p.equip) EXPECT_EQ(e, 0);
    auto* s = new Ship;
    EXPECT_EQ(s->shieldPoints, 0);
    EXPECT_EQ(s->pixels[kPixelListSize - 1].colour, 0u);
    delete s;
    Player pl;
    for (int v : pl.power) ASSERT_EQ(v, 0);
}

}  // namespace
}  // namespace qv
