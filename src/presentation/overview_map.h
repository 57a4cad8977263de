// The overview map in the top right corner of the frame: the whole world at
// 1:20 with its star, planets, asteroids, free-flying ships and the part of
// it in view.
#pragma once

#include <cstdint>

#include "model/records.h"
#include "presentation/raster.h"

namespace qv {

// The overview's left edge for a world of side worldSize: 785 - worldSize / 20.
inline std::int64_t OverviewLeft(std::int64_t worldSize) { return 785 - worldSize / 20; }

void DrawOverviewMap(raster::Surface& surface, const World& world, std::int32_t worldSize, std::int32_t viewLeft,
                     std::int32_t viewTop);

}  // namespace qv
