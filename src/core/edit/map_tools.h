#pragma once

#include "core/model/editor_state.h"
#include "core/model/map_grid.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace tessra {

// The cells of the straight line from one cell to another, both included, one
// for each step along the longer axis (Bresenham's line).
std::vector<MapCell> CellLine(MapCell from, MapCell to);

// The tools. Each returns whether a cell changed; cells outside the grid are
// skipped, and a tile outside 0..255 changes nothing.
bool Draw(MapGrid& map, int x, int y, int tile);
bool Erase(MapGrid& map, int x, int y); // writes tile 0
// Every cell reachable from (x, y) through edge neighbours holding its value.
bool FloodFill(MapGrid& map, int x, int y, int tile);
// The rubber stamp with its top-left cell at (x, y), clipped at the grid's edges.
bool StampAt(MapGrid& map, int x, int y, const EditorState& state);
std::optional<std::int16_t> PickTile(const MapGrid& map, int x, int y);

} // namespace tessra
