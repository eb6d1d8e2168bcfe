#pragma once

#include "core/base/result.h"
#include "core/model/map_grid.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace tessra {

// A tile number box: its TextValue taken to the nearest 16-bit integer (half
// to even); nothing when it lies outside the 16-bit range.
std::optional<std::int16_t> TileBoxValue(std::string_view text);

// The two tiles of a swap or replace.
struct TilePair {
    std::uint8_t A = 0;
    std::uint8_t B = 0;
};

// Reads boxes A and B; refuses a number outside 0..255 (A is checked first),
// naming the box as its window or command line calls it.
Result<TilePair> ReadTilePair(std::string_view aText, std::string_view bText,
                              std::string_view aName = "Tile A", std::string_view bName = "Tile B");

// Every cell holding a gets b and every cell holding b gets a. Returns how many
// cells changed.
int SwapTiles(MapGrid& map, std::uint8_t a, std::uint8_t b);

// Every cell holding a gets b. Returns how many cells changed.
int ReplaceTiles(MapGrid& map, std::uint8_t a, std::uint8_t b);

} // namespace tessra
