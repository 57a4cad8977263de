// Where the overview map of the current world stands in the view: a box
// along the top-right corner showing the whole world at 1 : 20. The painter
// draws it there and a click on it moves the view.
#pragma once

#include <cstdint>

namespace qv {

inline constexpr int kOverviewRight = 785;  // the box's right edge, in view pixels
inline constexpr int kOverviewTop = 10;     // its top edge
inline constexpr int kOverviewScale = 20;   // map units per overview pixel

// The box's left and bottom edges for a world of side worldSize.
inline std::int64_t OverviewLeft(std::int64_t worldSize) { return kOverviewRight - worldSize / kOverviewScale; }
inline std::int64_t OverviewBottom(std::int64_t worldSize) { return worldSize / kOverviewScale + kOverviewTop; }

}  // namespace qv
