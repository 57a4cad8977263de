// The record lists: insert at the head, unlink, 1-based positions, lookups.
#include <gtest/gtest.h>

#include "model/lists.h"
#include "model/records.h"

namespace qv {
namespace {

TEST(RecordLists, InsertPositionsLookupsAndUnlinkAtHeadMiddleAndTail) {
    Planet a, b, c, stranger;
    Planet* head = nullptr;
    EXPECT_EQ(std::make_pair(CountOf(head), LastOf(head)), std::make_pair(0, (Planet*)nullptr));
    for (Planet* p : {&a, &b, &c}) InsertAtHead(head, p);  // c, b, a
    EXPECT_EQ(std::vector<Planet*>({head, c.prev, c.next, b.prev, b.next, a.prev, a.next, LastOf(head)}),
              std::vector<Planet*>({&c, nullptr, &b, &c, &a, &b, nullptr, &a}));
    EXPECT_EQ(std::vector<int>({CountOf(head), IndexOf(head, &c), IndexOf(head, &a), IndexOf(head, &stranger),
                                IndexOf<Planet>(head, nullptr)}),
              std::vector<int>({3, 1, 3, 0, 0}));
    EXPECT_EQ(std::vector<Planet*>(
                  {RecordAt(head, 1), RecordAt(head, 3), RecordAt(head, 4), RecordAt(head, 0), RecordAt(head, -2)}),
              std::vector<Planet*>({&c, &a, nullptr, nullptr, nullptr}));
    Unlink(head, &c);  // the head; an unlinked record keeps its own links
    EXPECT_EQ(std::vector<Planet*>({head, b.prev, c.next}), std::vector<Planet*>({&b, nullptr, &b}));
    InsertAtHead(head, &c);
    Unlink(head, &b);  // the middle
    EXPECT_EQ(std::vector<Planet*>({c.next, a.prev}), std::vector<Planet*>({&a, &c}));
    Unlink(head, &a);  // the tail
    EXPECT_EQ(c.next, nullptr);
    Unlink(head, &c);  // the only one
    EXPECT_EQ(head, nullptr);
}

}  // namespace
}  // namespace qv
