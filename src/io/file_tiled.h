#pragma once

#include "core/base/result.h"
#include "core/model/map_grid.h"
#include "core/render/surface.h"

#include <string>
#include <vector>

namespace tessra {

// Writes the map as a Tiled map at outPath (.tmx or .tmj, else refused) with
// its layer and tileset named `name`, and the palette picture beside it as
// TiledPalettePath names it. Both are written whole before either takes its
// place, the map first. `tilesets` are the map's tileset paths, resolved: a
// map brought back from Tiled has the picture of its last export for its
// tileset, which is left as it is when it already holds this palette; any
// other tileset at that path is refused rather than overwritten.
Status WriteTiledMapFiles(const MapGrid& map, const Surface& palette,
                          const std::vector<std::string>& tilesets, const std::string& outPath,
                          const std::string& name);

} // namespace tessra
