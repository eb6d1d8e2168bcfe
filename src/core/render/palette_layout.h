#pragma once

#include <optional>

namespace tessra {

inline constexpr int TileSize = 16;
inline constexpr int PaletteColumns = 16;
// Tall enough for all 256 tile numbers; tiles past 255 are dropped.
inline constexpr int PaletteWidth = 256, PaletteHeight = 256;

// The top-left pixel of tile t's square in the palette picture.
constexpr int TileLeft(int tile) {
    return TileSize * (tile % PaletteColumns);
}
constexpr int TileTop(int tile) {
    return TileSize * (tile / PaletteColumns);
}

// Floor of value / size as an int; NaN reads as 0 and huge values saturate, so
// a pointer far outside a picture never overflows.
int FloorDiv(double value, int size);

// The tiles a decoded tileset of width x height pixels brings to the palette:
// tiles across times tiles down, each rounded half to even from pixels / 16.
int TilesetTileCount(int width, int height);

// Which of a picture's tiles, in the order AppendTilesetToPalette takes them,
// is the 16 x 16 square at pixel (x, y) of a width x height picture; nothing
// when no tile starts there. Tiles run along a row while it lasts, a partial
// square at its end included, and stop after the rounded count of tiles.
std::optional<int> TileOfPicture(int width, int height, int x, int y);

// The palette cell under a point; points left of or above the picture give
// column or row 0. Nothing else is clamped: check IsTileNumber(tile).
struct PaletteCell {
    int column, row, tile;
};
PaletteCell TileAtPalettePoint(double X, double Y);

} // namespace tessra
