#pragma once

#include "core/model/map_grid.h"

#include <optional>
#include <string>

namespace tessra {

enum class TiledFormat { Tmx, Tmj };

// By the name's extension, in any case: .tmx (XML) or .tmj (JSON).
std::optional<TiledFormat> TiledFormatOf(const std::string& path);

// Where the palette picture of an exported map goes: beside it, its name with
// .tiles.png for the extension (maps/level.tmx -> maps/level.tiles.png).
std::string TiledPalettePath(const std::string& mapPath);

// A Tiled map of the whole grid, in XML (.tmx) or JSON (.tmj): orthogonal,
// 256 x 256 cells of 16 x 16 pixels, one tile layer named `name` with its data
// in CSV (a list of numbers in JSON), and one tileset named `name` cut from
// `image`, the 256 x 256 palette picture beside the map, so that Tiled tile
// n + 1 is TESSRA tile n.
std::string WriteTiledMap(const MapGrid& map, TiledFormat format, const std::string& name,
                          const std::string& image);

} // namespace tessra
