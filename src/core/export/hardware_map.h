#pragma once

#include "core/base/result.h"
#include "core/export/export_formats.h"
#include "core/export/export_layout.h"
#include "core/export/export_settings.h"
#include "core/model/map_grid.h"
#include "core/model/tile_attributes.h"

#include <array>
#include <string>
#include <vector>

namespace tessra {

// The 8 x 8 tile number of quarter (dx, dy) of tile n, before tile-base:
// image: 64 (n div 16) + 32 dy + 2 (n mod 16) + dx, the palette picture cut
// into 8 x 8 tiles row by row; metatile: 4n + 2 dy + dx. Not for unique.
int QuarterTileNumber(ExportNumbering numbering, int tile, int dx, int dy);

// The tile and quarter (0 top left, 1 top right, 2 bottom left, 3 bottom
// right) whose picture is 8 x 8 tile `number` of image or metatile numbering.
struct TileQuarter {
    int tile;
    int quarter;
};
TileQuarter QuarterOfTileNumber(ExportNumbering numbering, int number);

// What a map entry shows for one quarter of a tile: its 8 x 8 tile, with
// tile-base, and how the entry mirrors it.
struct QuarterEntry {
    int number = 0;
    bool hflip = false;
    bool vflip = false;
};
// For each tile number, its four entries in quarter order, as the cell shows them.
using QuarterTable = std::array<std::array<QuarterEntry, 4>, TileCount>;

// The entries of image or metatile numbering: a flipped tile's quarters
// trade places and each carries the tile's flips.
QuarterTable NumberedQuarters(const TileAttributeTable& attributes, const ExportSettings& settings);

// What in a tile's attributes (or, but for unique numbering, its 8 x 8 tile
// numbers) the console's map cannot hold, as the rest of a sentence that
// starts with the tile; empty when nothing.
std::string HardwareTileProblem(const ExportSettings& settings, int tile,
                                const TileAttributes& attributes);

// The refusal MakeHardwareGrid gives for the region's cells, without the grid.
Status CheckHardwareCells(const MapGrid& map, const TileAttributeTable& attributes,
                          const ExportSettings& settings);

// The console's map entries of the region: every cell gives 2 x 2 entries,
// each quarter of its tile with the tile's palette, priority and flip bits (a
// flipped tile's quarters trade places). An 8 x 8 tile number or a palette
// the console's entry cannot hold, and a flip on the NES or the Game Boy, are
// refused, naming the first such cell in reading order. Unique numbering
// takes its entries from `unique`, which must then be given. The Game Boy
// Color's values hold the tile byte low and the attribute byte high; the
// NES's the tile byte low and the palette above it. The settings must have
// passed CheckExportSettings with a hardware.
Result<EntryGrid> MakeHardwareGrid(const MapGrid& map, const TileAttributeTable& attributes,
                                   const ExportSettings& settings,
                                   const QuarterTable* unique = nullptr);

// The bytes of the ordered entries as the console reads them: 16-bit entries
// in its byte order; for the Game Boy the tile map alone; for the Game Boy
// Color the tile map, then the attribute map with the suffix _attr; for the
// NES, screen after screen, the 960 tile bytes and then the 64-byte attribute
// table made from the screen's palettes.
std::vector<ExportArray> PackHardwareEntries(const OrderedEntries& entries,
                                             const ExportSettings& settings);

} // namespace tessra
