#pragma once

#include "core/base/result.h"
#include "core/model/map_grid.h"
#include "core/model/tile_attributes.h"
#include "core/render/surface.h"

#include <string>
#include <vector>

namespace tessra {

// Reads and decodes a level picture, PNG or PCX, refusing it as
// DecodeLevelPicture does; a failure names the file.
Result<Surface> LoadLevelPicture(const std::string& path);

// Writes a tileset picture as a PNG, through a temporary file synced before it
// replaces the old one: the map that lists it is the user's work.
Status WriteTilesetPicture(const std::string& path, const Surface& tileset);

// Writes a map made from a level picture as one group, each file whole before
// any replaces its old one: the project, which lists the tileset picture by its
// path from the project's folder; the picture; and the tile attributes, when
// any is set or a file of them already stands beside the project (it would
// otherwise dress the new map). `inputs` are files the import read, which no output may
// replace; nor may the project and the tileset be one file.
Status WriteLevelMapFiles(const std::string& projectPath, const std::string& tilesetPath,
                          const Surface& tileset, const MapGrid& map,
                          const TileAttributeTable& attributes,
                          const std::vector<std::string>& inputs);

} // namespace tessra
