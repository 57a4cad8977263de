// The record lists: insert at the head, unlink, 1-based positions, lookups.
#include <gtest/gtest.h>

#include "model/lists.h"
#include "model/records.h"

namespace qv {
namespace {

TEST(RecordLists, PositionsCountFromOneAtTheHeadAndUnlinkJoinsTheNeighbours) {
    Planet a, b, c, stranger;
    Planet* head = nullptr;
    for (Planet* p : {&a, &b, &c}) InsertAtHead(head, p);  // c, b, a
    EXPECT_EQ(std::vector<Planet*>({head, c.prev, b.prev, a.next, LastOf(head), RecordAt(head, 1), RecordAt(head, 3)}),
              std::vector<Planet*>({&c, nullptr, &c, nullptr, &a, &c, &a}));
    for (int outside : {4, 0, -2}) EXPECT_EQ(RecordAt(head, outside), nullptr);
    EXPECT_EQ(
        std::vector<int>({CountOf(head), IndexOf(head, &b), IndexOf(head, &stranger), IndexOf<Planet>(head, nullptr)}),
        std::vector<int>({3, 2, 0, 0}));
    Unlink(head, &b);                                                                               // the middle
    EXPECT_EQ(std::vector<Planet*>({c.next, a.prev, b.next}), std::vector<Planet*>({&a, &c, &a}));  // b keeps its links
    Unlink(head, &c);                                                                               // the head
    EXPECT_EQ(std::make_pair(head, a.prev), std::make_pair(&a, (Planet*)nullptr));
    Unlink(head, &a);  // the only one
    EXPECT_EQ(std::make_pair(head, CountOf(head)), std::make_pair((Planet*)nullptr, 0));
}

}  // namespace
}  // namespace qv
