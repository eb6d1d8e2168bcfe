#pragma once

#include "core/base/result.h"
#include "core/model/map_grid.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tessra {

// What the console's map holds for one tile number besides the number, and
// the byte the game reads for it.
struct TileAttributes {
    std::uint8_t Palette = 0; // 0..15
    bool Priority = false;
    bool Hflip = false;
    bool Vflip = false;
    std::uint8_t Behaviour = 0; // the game's own: collision, damage, ladders

    bool operator==(const TileAttributes&) const = default;
};

inline constexpr int TileAttributePaletteLimit = 15;

// The attributes of every tile number, part of the document beside the map.
struct TileAttributeTable {
    std::array<TileAttributes, TileCount> Tiles{};

    TileAttributes& operator[](int tile) { return Tiles[static_cast<std::size_t>(tile)]; }
    const TileAttributes& operator[](int tile) const {
        return Tiles[static_cast<std::size_t>(tile)];
    }
    bool operator==(const TileAttributeTable&) const = default;
};

// The file lists at most 256 short objects; anything larger is not one.
inline constexpr std::size_t TileAttributesMaxSize = 256 * 1024;

// NAME.attributes.json beside NAME.tessra (beside MAP.attributes.json for any other name).
std::string TileAttributesPath(std::string_view mapPath);

// {"tiles": [...]} with one line for each tile whose attributes are not all
// zeros, in tile order.
std::string WriteTileAttributesBytes(const TileAttributeTable& table);

// Reads the file whole or not at all. Tiles not listed have all zeros. A
// refusal names fileName and what is wrong: not JSON (with the line and
// column), a key it does not know, a tile listed twice, or a value out of its
// range (naming the entry and its tile). Larger than TileAttributesMaxSize is
// refused unread.
Result<TileAttributeTable> ParseTileAttributes(std::string_view bytes, std::string_view fileName);

} // namespace tessra
