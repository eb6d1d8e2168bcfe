#pragma once

#include "core/export/console_colour.h"
#include "core/export/export_settings.h"

#include <array>
#include <cstdint>
#include <vector>

namespace tessra {

// An 8 x 8 tile as the console stores it: a colour index a pixel, row after
// row, each row from the left.
using TileIndices = std::array<std::uint8_t, 64>;

// The tile mirrored left to right with hflip, top to bottom with vflip.
TileIndices FlippedIndices(const TileIndices& tile, bool hflip, bool vflip);

// Appends one tile in the console's layout (bit 7 of a plane byte is the
// leftmost pixel): nes, plane 0 of the 8 rows then plane 1; gb, gbc and snes,
// each row's planes in pairs, 16 bytes a pair of planes; gba a nibble a pixel,
// the low nibble the left one, or a byte a pixel at 8 bits; md a nibble a
// pixel, the high nibble the left one. Indices must fit bpp.
void AppendTileBytes(std::vector<std::uint8_t>& out, ExportHardware hardware, int bpp,
                     const TileIndices& tile);

// The palettes in the console's layout: snes, gba and gbc 16-bit words low
// byte first, md words high byte first, nes a byte an entry, 4 sub-palettes
// always; gb the one byte BGP, which gives each colour its shade by brightness
// (the lightest 0: $E4 for colours in that order). Each sub-palette takes 2 to the bpp entries;
// those it does not fill are black (for the NES, $0F).
std::vector<std::uint8_t> PaletteBytes(ExportHardware hardware, int bpp,
                                       const std::vector<std::vector<ConsoleColour>>& palettes);

} // namespace tessra
