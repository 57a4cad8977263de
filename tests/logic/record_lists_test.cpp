// The record lists: insert at the head, unlink, 1-based positions, lookups
// and freeing.
#include <gtest/gtest.h>

#include "model/lists.h"
#include "model/records.h"

namespace qv {
namespace {

TEST(RecordLists, InsertPositionsLookupsAndUnlinkAtHeadMiddleAndTail) {
    Planet a, b, c, stranger;
    Planet* head = nullptr;
    EXPECT_EQ(CountOf(head), 0);
    EXPECT_EQ(LastOf(head), nullptr);
    EXPECT_EQ(RecordAt(head, 1), nullptr);
    for (Planet* p : {&a, &b, &c}) InsertAtHead(head, p);  // c, b, a
    EXPECT_EQ(head, &c);
    EXPECT_EQ(c.prev, nullptr);
    EXPECT_EQ(b.prev, &c);
    EXPECT_EQ(a.prev, &b);
    EXPECT_EQ(a.next, nullptr);
    EXPECT_EQ(CountOf(head), 3);
    EXPECT_EQ(LastOf(head), &a);
    const Planet* order[] = {&c, &b, &a};
    for (int i = 1; i <= 3; ++i) {
        EXPECT_EQ(IndexOf(head, order[i - 1]), i);
        EXPECT_EQ(RecordAt(head, i), order[i - 1]);
    }
    EXPECT_EQ(IndexOf<Planet>(head, nullptr), 0);
    EXPECT_EQ(IndexOf(head, &stranger), 0);
    for (int outside : {4, 0, -2}) EXPECT_EQ(RecordAt(head, outside), nullptr);

    Unlink(head, &c);  // the head
    EXPECT_EQ(head, &b);
    EXPECT_EQ(b.prev, nullptr);
    EXPECT_EQ(c.next, &b);  // an unlinked record keeps its own links
    InsertAtHead(head, &c);
    Unlink(head, &b);  // the middle
    EXPECT_EQ(c.next, &a);
    EXPECT_EQ(a.prev, &c);
    Unlink(head, &a);  // the tail
    EXPECT_EQ(c.next, nullptr);
    EXPECT_EQ(CountOf(head), 1);
    Unlink(head, &c);  // the only one
    EXPECT_EQ(head, nullptr);
}

TEST(RecordLists, FreeListLeavesItEmpty) {
    Weapon* head = nullptr;
    for (int i = 0; i < 5; ++i) InsertAtHead(head, new Weapon);
    FreeList(head);  // the address sanitizer catches a leak or a double free
    EXPECT_EQ(head, nullptr);
}

}  // namespace
}  // namespace qv
