// The game's one random generator: a linear congruential generator
// (state * 214013 + 2531011 modulo 2^32) whose draws are bits 16..30 of the
// new state, 0..32767.
#pragma once

#include <cstdint>

namespace qv {

class Random {
public:
    static constexpr int kMax = 32767;

    explicit Random(std::uint32_t seed = 1) : state_(seed) {}

    void seed(std::uint32_t s) { state_ = s; }
    std::uint32_t state() const { return state_; }

    int next() {
        state_ = state_ * 214013u + 2531011u;
        return static_cast<int>((state_ >> 16) & 0x7FFF);
    }

    // -1 when the draw is even, +1 otherwise.
    int sign() { return (next() % 2 == 0) ? -1 : 1; }

private:
    std::uint32_t state_;
};

// The generator of the running game (starts as if seeded with 1).
Random& GameRandom();

// One draw of the game's generator, 0..32767.
inline int Rand() { return GameRandom().next(); }
inline void SeedRand(std::uint32_t s) { GameRandom().seed(s); }

}  // namespace qv
