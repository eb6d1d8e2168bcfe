#pragma once

#include "core/map_grid.h"
#include "core/palette.h"

#include <array>

namespace tessra {

// How many cells of the map hold each tile number.
std::array<int, TileCount> CountTileUsage(const MapGrid& map);

} // namespace tessra
