#pragma once

#include "core/export/export_settings.h"

#include <array>
#include <span>
#include <string_view>

namespace tessra {

// What one console's background takes: how many 8 x 8 tiles and sub-palettes
// a map entry can name, whether it flips tiles, and the colour depths of its
// tile graphics.
struct ConsoleLimits {
    std::string_view name;
    int tileLimit;             // 8 x 8 tiles an entry's tile field names
    int paletteLimit;          // sub-palettes an entry names
    bool flips;                // an entry mirrors its tile
    std::array<int, 3> depths; // bits a pixel it takes, the default first; 0 past the last
    int channelBits;           // bits of each of red, green, blue; 0: a table of colours instead
};

// The console's row; hardware is not None.
const ConsoleLimits& ConsoleLimitsOf(ExportHardware hardware);

// The bits a pixel the console takes, the default first.
std::span<const int> ConsoleDepths(const ConsoleLimits& console);

// "2, 4 or 8"
std::string ConsoleDepthList(const ConsoleLimits& console);

// Colours a sub-palette holds, the backdrop included: 2 to the bpp.
constexpr int SubPaletteRoom(int bpp) {
    return 1 << bpp;
}

// The sub-palettes an entry may name at a depth: at 8 bits a pixel, one palette
// of 256 colours.
int SubPaletteCount(const ConsoleLimits& console, int bpp);

// Bytes of one 8 x 8 tile: 8 bytes a bit plane.
constexpr int TileByteCount(int bpp) {
    return 8 * bpp;
}

} // namespace tessra
