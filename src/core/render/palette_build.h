#pragma once

#include "core/base/result.h"
#include "core/model/editor_state.h"
#include "core/render/palette_layout.h"
#include "core/render/surface.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tessra {

// Appends the 16 x 16 tiles of one decoded tileset at the palette cursor.
void AppendTilesetToPalette(const Surface& decoded, Surface& palette, EditorState& state);

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

// Counts the tiles of a tileset file without decoding it, or says nothing.
using TilesetCounter = std::function<std::optional<int>(const std::string& path)>;

// Rebuilds the palette from state.Tilesets in order, each path resolved against
// state.ProjectFolder. A file that fails to load adds no tiles, unless `held`
// gives a count for its entry (what it held in the last rebuild of the same
// list): then it keeps that many places, drawn as MissingTile, so the tiles
// after it keep their numbers. A file listed more than once is decoded once.
// Once the palette's 256 tiles are full nothing more is decoded: the files
// left are only counted, by `count` where it can, so that the tiles left out
// can be told.
PaletteBuild ReloadTilesets(EditorState& state, Surface& palette, const TilesetLoader& load,
                            const TilesetCounter& count = nullptr, std::span<const int> held = {});

// The palette as the editor shows it: ReloadTilesets into `tiles`, then into
// `shown` every tile as its attributes flip it (the map view draws from it).
PaletteBuild BuildShownPalette(EditorState& state, Surface& tiles, Surface& shown,
                               const TilesetLoader& load, const TilesetCounter& count = nullptr,
                               std::span<const int> held = {});

// How a place held by a tileset gone missing is drawn: magenta and black
// squares, a colour no tileset is likely to use so.
Pixel MissingTilePixel(int x, int y);

// "The palette holds 256 tiles; 17 tiles were left out: 1 from c.pcx, 16 from
// d.pcx.", or empty when none were.
std::string LeftOutMessage(const std::vector<LeftOutTiles>& leftOut);

} // namespace tessra
