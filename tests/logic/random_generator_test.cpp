// The game's generator gives the draws of the C library generator it
// replaces (state * 214013 + 2531011 mod 2^32, the draw is bits 16..30).
#include <gtest/gtest.h>

#include "model/globals.h"
#include "model/random.h"

namespace qv {
namespace {

TEST(RandomGenerator, KnownDrawsTheSignAndTheGameInstanceReseededByAReset) {
    Random one(1), zero(0), top(0xFFFFFFFFu);
    for (int expected : {41, 18467, 6334, 26500, 19169}) EXPECT_EQ(one.next(), expected);
    for (int expected : {38, 7719, 21238}) EXPECT_EQ(zero.next(), expected);
    EXPECT_EQ(top.next(), 35);  // 2531011 - 214013 after the wrap, >> 16
    EXPECT_EQ(std::make_pair(Random(0).sign(), Random(1).sign()), std::make_pair(-1, 1));  // 38 is even, 41 odd
    SeedRand(0);
    EXPECT_EQ(Rand(), 38);
    EXPECT_EQ(GameRandom().next(), 7719);
    ResetGlobals();
    EXPECT_EQ(Rand(), 41);  // as if seeded with 1
}

}  // namespace
}  // namespace qv
