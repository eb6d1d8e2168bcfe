#pragma once

#include "core/model/map_grid.h"
#include "core/render/palette_build.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tessra {

// Old tile number -> new tile number.
using TileTable = std::array<std::uint8_t, TileCount>;

// The renumbering that keeps every cell's picture when the tilesets, with
// tileCounts in list order, are laid out again in newOrder (old list indexes;
// an index left out is a removed tileset). Tiles of a removed tileset, and tiles
// pushed past 255 by the new order, become 0. Numbers past the old palette's
// last tile show no tileset's picture and keep their number.
TileTable RenumberTable(const std::vector<int>& tileCounts, const std::vector<int>& newOrder);

// Rewrites every cell through the table; returns how many cells changed.
int RenumberMap(MapGrid& map, const TileTable& table);
// Whether RenumberMap would change any cell.
bool RenumberChangesMap(const MapGrid& map, const TileTable& table);

enum class TilesetEdit { Remove, MoveUp, MoveDown };

// What "Del", "Up" or "Down" does to the list and the map.
struct TilesetEditPlan {
    std::vector<std::string> Tilesets; // the list after the edit
    int Selected = -1;                 // the entry to select afterwards, -1 for none
    TileTable Renumber{};              // for RenumberMap, when the user wants it
};

// Nothing when the edit cannot be made: index outside the list, the first entry
// up or the last one down. A missing count reads as 0.
std::optional<TilesetEditPlan> PlanTilesetEdit(const std::vector<std::string>& tilesets,
                                               const std::vector<int>& tileCounts, TilesetEdit edit,
                                               int index);

} // namespace tessra
