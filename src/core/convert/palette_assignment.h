#pragma once

#include "core/base/result.h"
#include "core/export/console_tiles.h"
#include "core/export/export_settings.h"
#include "core/model/map_grid.h"
#include "core/model/tile_attributes.h"

#include <optional>
#include <string>
#include <vector>

namespace tessra {

// A console and a colour depth it takes, as the windows list them.
struct ConsoleDepthChoice {
    ExportHardware hardware;
    int bpp;
    std::string label; // "snes, 4 bits a pixel: 8 sub-palettes of 16 colours"
};
std::vector<ConsoleDepthChoice> ConsoleDepthChoices();

// The sub-palettes the map's tiles were given.
struct PaletteAssignment {
    TileAttributeTable attributes;
    int palettes = 0; // sub-palettes used
    int limit = 0;    // sub-palettes the console has at this depth
    bool fewest = false;
    // Each sub-palette used: its tiles and its colours at the console's depth,
    // the backdrop left out where entry 0 of each is the backdrop.
    std::vector<int> tiles;
    std::vector<std::vector<ConsoleColour>> colours;
    std::optional<ConsoleColour> backdrop; // none on the Game Boy
};

// Gives each tile the map uses the sub-palette, its palette attribute, that
// packs the tiles' colours at the console's depth, beside the backdrop, into
// as few sub-palettes as PackPalettes finds: what the export of the settings'
// hardware and depth then takes without a refusal. The other attributes, and
// the tiles the map does not use, stay as they are. On the Game Boy the four
// shades are the colours themselves, the backdrop among them. The settings
// must have a hardware; picture is the palette picture, unflipped.
// Refused as PackPalettes refuses: a tile with more colours than a sub-palette
// holds, and tiles needing more sub-palettes than the console has.
Result<PaletteAssignment> AssignPalettes(const MapGrid& map, const TileAttributeTable& attributes,
                                         const ExportSettings& settings, const Surface& picture);

// "240 tiles in 3 of 8 sub-palettes, the fewest there can be."
std::string DescribePaletteAssignment(const PaletteAssignment& assignment);

} // namespace tessra
