#pragma once

#include "core/model/tile_attributes.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace tessra {

// The tile numbers of the palette rectangle with corners at tiles `corner`
// and `other`, row by row: a drag from one tile to another selects them all.
std::vector<int> TilesInPaletteRect(int corner, int other);

// Attributes set for several tiles at once: a field left empty keeps each
// tile's own value.
struct TileAttributeEdit {
    std::optional<std::uint8_t> Palette;
    std::optional<bool> Priority;
    std::optional<bool> Hflip;
    std::optional<bool> Vflip;
    std::optional<std::uint8_t> Behaviour;

    bool operator==(const TileAttributeEdit&) const = default;
};

// The values the tiles share; a field on which they differ is left empty.
TileAttributeEdit SharedTileAttributes(const TileAttributeTable& table,
                                       const std::vector<int>& tiles);

// Sets the edit's fields on every listed tile.
void ApplyTileAttributeEdit(TileAttributeTable& table, const std::vector<int>& tiles,
                            const TileAttributeEdit& edit);

} // namespace tessra
