#pragma once

#include "core/editor_state.h"
#include "core/result.h"
#include "core/surface.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tessra {

inline constexpr int TileSize = 16;
inline constexpr int TileCount = 256;
inline constexpr int PaletteColumns = 16;
// Tall enough for all 256 tile numbers; tiles past 255 are dropped.
inline constexpr int PaletteWidth = 256, PaletteHeight = 256;

constexpr bool IsTileNumber(int tile) {
    return tile >= 0 && tile < TileCount;
}
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

// Appends the 16 x 16 tiles of one decoded tileset at the palette cursor.
void AppendTilesetToPalette(const Surface& decoded, Surface& palette, EditorState& state);

// Which of a picture's tiles, in the order AppendTilesetToPalette takes them,
// is the 16 x 16 square at pixel (x, y) of a width x height picture; nothing
// when no tile starts there. Tiles run along a row while it lasts, a partial
// square at its end included, and stop after the rounded count of tiles.
std::optional<int> TileOfPicture(int width, int height, int x, int y);

// Decodes one tileset file; the editor passes a PCX loader, tests pass fakes.
using TilesetLoader = std::function<Result<Surface>(const std::string& path)>;

struct TilesetFailure {
    std::string path;
    std::string message;
};

// Rebuilds the palette from state.Tilesets in order. A file that fails to load
// adds no tiles; the failures come back so the caller can tell the user.
std::vector<TilesetFailure> ReloadTilesets(EditorState& state, Surface& palette,
                                           const TilesetLoader& load);

// The palette cell under a point; points left of or above the picture give
// column or row 0. Nothing else is clamped: check IsTileNumber(tile).
struct PaletteCell {
    int column, row, tile;
};
PaletteCell TileAtPalettePoint(double X, double Y);

} // namespace tessra
