#include "core/edit/tile_swap.h"

#include "core/base/number_text.h"

#include <array>
#include <numeric>
#include <string>

namespace tessra {

namespace {

Result<std::uint8_t> ReadTile(std::string_view text, std::string_view name) {
    const std::optional<int> tile = BoxNumber(text, 0, 255, BoxRounding::HalfEven);
    if (!tile) {
        return Error{std::string(name) + " must be a number from 0 to 255."};
    }
    return static_cast<std::uint8_t>(*tile);
}

// Rewrites every cell through a table of 256 entries; counts the cells changed.
int Remap(MapGrid& map, const std::array<std::uint8_t, 256>& table) {
    int changed = 0;
    std::uint8_t* cells = map.data();
    for (int i = 0; i < CellCount; ++i) {
        const std::uint8_t tile = table[cells[i]];
        changed += tile != cells[i];
        cells[i] = tile;
    }
    return changed;
}

std::array<std::uint8_t, 256> IdentityTable() {
    std::array<std::uint8_t, 256> table;
    std::iota(table.begin(), table.end(), std::uint8_t{0});
    return table;
}

} // namespace

std::optional<std::int16_t> TileBoxValue(std::string_view text) {
    return BoxNumber(text, INT16_MIN, INT16_MAX, BoxRounding::HalfEven);
}

Result<TilePair> ReadTilePair(std::string_view aText, std::string_view bText,
                              std::string_view aName, std::string_view bName) {
    const Result<std::uint8_t> a = ReadTile(aText, aName);
    if (!a) {
        return a;
    }
    const Result<std::uint8_t> b = ReadTile(bText, bName);
    if (!b) {
        return b;
    }
    return TilePair{a.value(), b.value()};
}

int SwapTiles(MapGrid& map, std::uint8_t a, std::uint8_t b) {
    auto table = IdentityTable();
    table[a] = b;
    table[b] = a;
    return Remap(map, table);
}

int ReplaceTiles(MapGrid& map, std::uint8_t a, std::uint8_t b) {
    auto table = IdentityTable();
    table[a] = b;
    return Remap(map, table);
}

} // namespace tessra
