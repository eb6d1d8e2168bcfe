#pragma once

#include "core/editor_state.h"
#include "core/result.h"
#include "core/surface.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

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

// Appends the 16 x 16 tiles of one decoded tileset at the palette cursor.
void AppendTilesetToPalette(const Surface& decoded, Surface& palette, EditorState& state);

// Which of a picture's tiles, in the order AppendTilesetToPalette takes them,
// is the 16 x 16 square at pixel (x, y) of a width x height picture; nothing
// when no tile starts there. Tiles run along a row while it lasts, a partial
// square at its end included, and stop after the rounded count of tiles.
std::optional<int> TileOfPicture(int width, int height, int x, int y);

// Reads and decodes the tileset picture at a resolved path: the platform's
// loader in the editor and tessra-cli, fakes in tests.
using TilesetLoader = std::function<Result<Surface>(const std::string& path)>;

struct TilesetFailure {
    std::string path; // as listed
    std::string message;
    std::size_t entry = 0; // its place in the list
};

// A tileset count for a list entry the rebuild did not reach: the palette was full.
inline constexpr int NotRead = -1;

// The tiles of one listed tileset that found no place in a full palette.
struct LeftOutTiles {
    std::string path; // as listed
    int tiles = 0;
};

// What a rebuild learnt of each listed tileset.
struct PaletteBuild {
    std::vector<int> tileCounts; // per entry: its tiles, 0 if it failed, or NotRead
    std::vector<TilesetFailure> failures;
    std::vector<LeftOutTiles> leftOut;
};

// Rebuilds the palette from state.Tilesets in order, each path resolved against
// state.ProjectFolder. A file that fails to load adds no tiles. A file listed
// more than once is decoded once. Every file is read, also once the palette's
// 256 tiles are full, so that the tiles left out can be counted.
PaletteBuild ReloadTilesets(EditorState& state, Surface& palette, const TilesetLoader& load);

// "The palette holds 256 tiles; 17 tiles were left out: 1 from c.pcx, 16 from
// d.pcx.", or empty when none were.
std::string LeftOutMessage(const std::vector<LeftOutTiles>& leftOut);

// The palette cell under a point; points left of or above the picture give
// column or row 0. Nothing else is clamped: check IsTileNumber(tile).
struct PaletteCell {
    int column, row, tile;
};
PaletteCell TileAtPalettePoint(double X, double Y);

} // namespace tessra
