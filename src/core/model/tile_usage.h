#pragma once

#include "core/model/map_grid.h"
#include "core/render/palette_build.h"

#include <array>

namespace tessra {

// How many cells of the map hold each tile number.
std::array<int, TileCount> CountTileUsage(const MapGrid& map);

} // namespace tessra
