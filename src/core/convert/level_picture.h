#pragma once

#include "core/base/result.h"
#include "core/model/document.h"
#include "core/model/map_grid.h"
#include "core/render/surface.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace tessra {

// A level picture is cut into the map's 16 x 16 cells, so it can be no larger
// than the map: 256 cells each way.
inline constexpr int LevelPictureMaxSize = 4096;

// Refuses a size that is not a whole number of cells or is larger than the map,
// naming the size.
Status CheckLevelPictureSize(int width, int height);

// Decodes a PNG or PCX level picture, refusing a size CheckLevelPictureSize
// refuses from the file's header, before the picture is decoded, and a kind of
// PCX the editor does not draw. A refusal starts with the name.
Result<Surface> DecodeLevelPicture(std::span<const std::uint8_t> file, std::string_view name);

// A level picture cut into cells: equal cells are one tile, numbered in the
// order they first appear (rows from the top, each left to right).
struct LevelCut {
    int width = 0, height = 0; // of the picture, in pixels
    int tiles = 0;             // the distinct cells
    Surface tileset;           // the tiles 16 a row: 256 pixels wide, whole rows of tiles
    MapGrid map;               // the cells' tile numbers; cells past the picture 0
};

// Cuts a picture that passed CheckLevelPictureSize. More distinct cells than a
// map has tile numbers are refused, naming the count.
Result<LevelCut> CutLevelPicture(const Surface& picture);

// The new map a cut makes: its cells, and the tileset picture written at
// tilesetPath for its one tileset, listed from that picture's folder.
Document LevelDocument(const LevelCut& cut, const std::string& tilesetPath);

// "Cut 512 x 480 pixels into 960 cells: 87 tiles."
std::string DescribeLevelCut(const LevelCut& cut);

} // namespace tessra
