// The game's generator gives the draws of the C library generator it
// replaces (state * 214013 + 2531011 mod 2^32, the draw is bits 16..30):
// saved games and seeded runs depend on the exact sequence.
#include <gtest/gtest.h>

#include "model/globals.h"
#include "model/random.h"

namespace qv {
namespace {

TEST(RandomGenerator, KnownDrawsRangeSignAndTheGameInstance) {
    Random one(1), zero(0);
    for (int expected : {41, 18467, 6334, 26500, 19169}) EXPECT_EQ(one.next(), expected);
    for (int expected : {38, 7719, 21238}) EXPECT_EQ(zero.next(), expected);

    Random r(0xFFFFFFFFu), s(0xFFFFFFFFu);
    for (int i = 0; i < 100000; ++i) {
        const int v = r.next();
        ASSERT_GE(v, 0);
        ASSERT_LE(v, Random::kMax);
        ASSERT_EQ(s.sign(), v % 2 == 0 ? -1 : 1);  // -1 for an even draw
    }

    // One game generator, reseeded by SeedRand and put back to seed 1 by a reset.
    SeedRand(0);
    EXPECT_EQ(Rand(), 38);
    EXPECT_EQ(GameRandom().next(), 7719);
    ResetGlobals();
    EXPECT_EQ(Rand(), 41);
}

}  // namespace
}  // namespace qv
