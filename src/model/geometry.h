// Distances on a world's map. Every rule measures with these: reaches,
// collisions, target searches.
#pragma once

#include <cmath>
#include <cstdint>

namespace qv {

// The square of the distance between two map places. Squared differences of
// 32-bit coordinates (up to 2^32 - 1 apart) fit unsigned 64 bits.
inline std::uint64_t SquaredDistance(std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2) {
    const auto square = [](std::int64_t d) {
        const std::uint64_t m = d < 0 ? 0 - static_cast<std::uint64_t>(d) : static_cast<std::uint64_t>(d);
        return m * m;
    };
    return square(x2 - x1) + square(y2 - y1);
}

// The distance between two map places: the exact root of the summed squares.
inline double Distance(std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2) {
    return std::sqrt(static_cast<double>(SquaredDistance(x1, y1, x2, y2)));
}

// The same between two records with a place (planets, asteroids, ships).
template <typename A, typename B>
double DistanceBetween(const A& a, const B& b) {
    return Distance(a.x, a.y, b.x, b.y);
}

}  // namespace qv
