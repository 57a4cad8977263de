// The overview map in the top right corner of the frame: the whole world at
// 1:20 with its star, planets, asteroids, free-flying ships and the part of
// it in view.
#pragma once

#include <cstdint>

#include "model/overview_geometry.h"
#include "model/records.h"
#include "presentation/raster.h"

namespace qv {

void DrawOverviewMap(raster::Surface& surface, const World& world, std::int32_t worldSize, std::int32_t viewLeft,
                     std::int32_t viewTop);

}  // namespace qv
