#pragma once

#include "core/export/console_colour.h"
#include "core/export/export_settings.h"
#include "core/export/hardware_map.h"
#include "core/export/tile_bank.h"
#include "core/export/tile_encoding.h"
#include "core/model/map_grid.h"
#include "core/model/tile_attributes.h"
#include "core/render/surface.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tessra {

// What an export reads besides the map: the tiles' pictures and the colours.
struct ArtInputs {
    const Surface* Picture = nullptr; // the palette picture, unflipped
    std::vector<Pixel> PaletteFile;   // the palette file's colours; empty: none
    NesMasterPalette NesPalette = BuiltInNesPalette();
    // The tile bank the map's unique tiles join, and its name for messages;
    // none: the map's tiles alone.
    std::shared_ptr<const TileBank> Bank;
    std::string BankName;
};

// Something the export would refuse, and what it concerns, so that a window
// can point at it.
struct ArtProblem {
    std::string Message;
    int Tile = -1;    // the map's tile number to change; -1: none in particular
    int Quarter = -1; // its 8 x 8 quarter (0 top left .. 3 bottom right); -1: the whole tile
    int Palette = -1; // the sub-palette; -1: none
};

// The tile graphics and palettes of an export, as the console stores them.
struct ConsoleTiles {
    int Bpp = 0;
    // The stored 8 x 8 tiles, the first numbered tile-base; with a bank, the
    // bank's first, then those the map adds.
    std::vector<TileIndices> Tiles;
    // Each sub-palette's colours, the backdrop first, from 0 to the highest
    // a stored tile uses (or the bank holds); with a palette file, the file's.
    std::vector<std::vector<ConsoleColour>> Palettes;
    // Unique numbering: each tile's four entries, as MakeHardwareGrid takes
    // them, and which stored tiles the entries name.
    QuarterTable Unique{};
    std::vector<bool> Named;
    int BankTiles = 0;    // of Tiles, those the bank held before
    int TileLimit = 0;    // tiles the entries can name from tile-base
    int PaletteLimit = 0; // sub-palettes an entry can name at this depth
    int Room = 0;         // colours a sub-palette holds, the backdrop included
    // Every problem the export would refuse, in the order it meets them:
    // tiles' attributes, then colours in the order of the stored tiles, then
    // the count of tiles.
    std::vector<ArtProblem> Problems;
};

// "top left", "top right", "bottom left" or "bottom right".
const char* QuarterName(int quarter);

// The distinct colours of 8 x 8 quarter q (0..3) of a tile in the palette
// picture at the console's depth, in the order of its pixels, row by row.
std::vector<ConsoleColour> QuarterColours(const Surface& picture, int tile, int quarter,
                                          const ColourDepth& depth);

// The backdrop at the console's depth: the palette file's first colour, the
// backdrop setting, or tile 0's top-left pixel.
ConsoleColour BackdropColour(const ExportSettings& settings, const ArtInputs& inputs,
                             const ColourDepth& depth);

// The 8 x 8 tiles the region's entries show and their colours. With unique
// numbering each is stored once, in the order the written entries first show
// it, a mirror image of one already stored too where the console flips; with
// image or metatile numbering the picture's 8 x 8 tiles from 0 to the highest
// an entry names, those no entry names left blank. A colour index counts in
// its tile's sub-palette (the palette attribute): 0 the backdrop, the others
// in the order the stored tiles first use them, or the palette file's order;
// on the Game Boy by brightness, the lightest 0. With a bank the map starts
// from its tiles and colours, which keep their numbers, and adds its own
// after them; the bank's backdrop stands unless the settings name another,
// which is refused. The settings must have passed CheckExportSettings with a
// hardware.
ConsoleTiles MakeConsoleTiles(const MapGrid& map, const TileAttributeTable& attributes,
                              const ExportSettings& settings, const ArtInputs& inputs);

// What the map's export settings cost on the console: the stored tiles and
// each sub-palette's colours, counted as the export with tile graphics would
// count them, and every problem it would refuse. Without a hardware, or with
// settings that are refused, there is nothing to count and Refusal says why.
struct HardwareBudget {
    std::string Refusal;
    std::optional<ConsoleTiles> Tiles;
};
HardwareBudget CountHardwareBudget(const MapGrid& map, const TileAttributeTable& attributes,
                                   const ExportSettings& settings, const ArtInputs& inputs);

// The stored tiles, one after the other, in the console's layout.
std::vector<std::uint8_t> ConsoleTileBytes(const ConsoleTiles& tiles, ExportHardware hardware);

// The bank as the tiles leave it: the one given, grown by the map's tiles and colours.
TileBank GrownBank(const ConsoleTiles& tiles, ExportHardware hardware);

// Unique numbering after CompactTileBank: each entry's tile renumbered.
void RenumberTiles(ConsoleTiles& tiles, const std::vector<int>& numbers, int tileBase);

} // namespace tessra
