#pragma once

#include "core/base/result.h"
#include "core/export/export_formats.h"
#include "core/export/export_layout.h"
#include "core/export/export_settings.h"
#include "core/model/map_grid.h"
#include "core/model/tile_attributes.h"

#include <vector>

namespace tessra {

// The 8 x 8 tile number of quarter (dx, dy) of tile n, before tile-base:
// image: 64 (n div 16) + 32 dy + 2 (n mod 16) + dx, the palette picture cut
// into 8 x 8 tiles row by row; metatile: 4n + 2 dy + dx.
int QuarterTileNumber(ExportNumbering numbering, int tile, int dx, int dy);

// The console's map entries of the region: every cell gives 2 x 2 entries,
// each quarter of its tile with the tile's palette, priority and flip bits (a
// flipped tile's quarters trade places). An 8 x 8 tile number or a palette
// the console's entry cannot hold, and a flip on the NES, are refused, naming
// the first such cell in reading order. The Game Boy Color's values hold the
// tile byte low and the attribute byte high; the NES's the tile byte low and
// the palette above it. The settings must have passed CheckExportSettings
// with a hardware.
Result<EntryGrid> MakeHardwareGrid(const MapGrid& map, const TileAttributeTable& attributes,
                                   const ExportSettings& settings);

// The bytes of the ordered entries as the console reads them: 16-bit entries
// in its byte order; for the Game Boy Color the tile map, then the attribute
// map with the suffix _attr; for the NES, screen after screen, the 960 tile
// bytes and then the 64-byte attribute table made from the screen's palettes.
std::vector<ExportArray> PackHardwareEntries(const OrderedEntries& entries,
                                             const ExportSettings& settings);

} // namespace tessra
