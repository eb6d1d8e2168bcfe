#include "core/edit/tile_attribute_edit.h"

#include "core/render/palette_build.h"

#include <algorithm>

namespace tessra {

namespace {

// The value every tile has for one field, or nothing when two differ.
template <class T, class Field>
std::optional<T> Shared(const TileAttributeTable& table, const std::vector<int>& tiles,
                        Field field) {
    if (tiles.empty()) {
        return std::nullopt;
    }
    const T first = table[tiles.front()].*field;
    for (const int tile : tiles) {
        if (table[tile].*field != first) {
            return std::nullopt;
        }
    }
    return first;
}

template <class T, class Field>
void Set(TileAttributes& tile, Field field, const std::optional<T>& value) {
    if (value) {
        tile.*field = *value;
    }
}

} // namespace

std::vector<int> TilesInPaletteRect(int corner, int other) {
    const int left = std::min(corner % PaletteColumns, other % PaletteColumns);
    const int right = std::max(corner % PaletteColumns, other % PaletteColumns);
    const int top = std::min(corner / PaletteColumns, other / PaletteColumns);
    const int bottom = std::max(corner / PaletteColumns, other / PaletteColumns);
    std::vector<int> tiles;
    for (int row = top; row <= bottom; ++row) {
        for (int column = left; column <= right; ++column) {
            if (IsTileNumber(PaletteColumns * row + column)) {
                tiles.push_back(PaletteColumns * row + column);
            }
        }
    }
    return tiles;
}

TileAttributeEdit SharedTileAttributes(const TileAttributeTable& table,
                                       const std::vector<int>& tiles) {
    return {Shared<std::uint8_t>(table, tiles, &TileAttributes::Palette),
            Shared<bool>(table, tiles, &TileAttributes::Priority),
            Shared<bool>(table, tiles, &TileAttributes::Hflip),
            Shared<bool>(table, tiles, &TileAttributes::Vflip),
            Shared<std::uint8_t>(table, tiles, &TileAttributes::Behaviour)};
}

void ApplyTileAttributeEdit(TileAttributeTable& table, const std::vector<int>& tiles,
                            const TileAttributeEdit& edit) {
    for (const int tile : tiles) {
        TileAttributes& a = table[tile];
        Set(a, &TileAttributes::Palette, edit.Palette);
        Set(a, &TileAttributes::Priority, edit.Priority);
        Set(a, &TileAttributes::Hflip, edit.Hflip);
        Set(a, &TileAttributes::Vflip, edit.Vflip);
        Set(a, &TileAttributes::Behaviour, edit.Behaviour);
    }
}

} // namespace tessra
