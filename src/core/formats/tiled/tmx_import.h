#pragma once

#include "core/base/file_reader.h"
#include "core/base/result.h"
#include "core/formats/project_file.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tessra {

struct TiledImport {
    // The map and the tileset pictures' paths, in the map's tileset order, found
    // from the map's own path (relative when it is) and without repeats.
    ProjectData project;
    std::string layerName;  // the tile layer taken: the first
    int tileLayerCount = 0; // how many the map has
    int emptyCells = 0;     // became tile 0
    int flippedCells = 0;   // flipped or rotated cells that lost their flags
};

// Reads a Tiled map (.tmx or .tmj, told apart by content) at `path`: an
// orthogonal map of 16 x 16 tiles and at most 256 x 256 cells, its first tile
// layer, tilesets embedded or in their own files, each cut from one picture
// (PNG or PCX) with no margin or spacing. Each picture becomes a TESSRA
// tileset, and each Tiled tile the TESSRA number that the same square of the
// same picture gets; cells outside a smaller map are tile 0. Refused, naming
// the file at fault and what is not supported: another orientation or tile
// size, an infinite map, an image-collection tileset, data that does not
// decode, and a tile without a TESSRA number (naming the first cell using it).
Result<TiledImport> ImportTiledMap(std::span<const std::uint8_t> file, const std::string& path,
                                   const FileReader& read);

// What the import did, a line each: the layer taken when there were several,
// then the counts of empty and of flipped or rotated cells.
std::vector<std::string> DescribeTiledImport(const TiledImport& import);

} // namespace tessra
