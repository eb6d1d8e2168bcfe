#pragma once

#include "core/base/result.h"
#include "core/export/export_settings.h"
#include "core/render/surface.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tessra {

// A colour as the console keeps it: for snes, gba and gbc the 15-bit word
// 0bbbbbgggggrrrrr, each channel the top 5 bits of its 8; for md the word
// 0000bbb0ggg0rrr0, each channel's top 3 bits; for nes the index of the
// nearest master-palette colour; for gb the colour itself, 0xRRGGBB, whose
// shade comes from its brightness among the others.
using ConsoleColour = std::uint32_t;

// The NES's 64 colours, as an emulator shows them.
using NesMasterPalette = std::array<Pixel, 64>;

// FCE Ultra's NTSC palette, as FCEUX ships it: each channel a 6-bit value
// times 4, the table many NES tools share.
const NesMasterPalette& BuiltInNesPalette();

// An emulator's palette file: 64 colours of red, green and blue bytes (192
// bytes), or 512 colours (1,536 bytes) whose first 64 are the plain ones.
inline constexpr std::size_t NesPaletteFileMaxSize = 1536;
Result<NesMasterPalette> ParseNesPalette(std::string_view bytes, std::string_view fileName);

// The NES colours never chosen for a pixel: $0D is darker than black and
// upsets some televisions; the others repeat black.
bool IsAvoidedNesColour(int index);

// The brightness the Game Boy's shades follow: 299 R + 587 G + 114 B.
constexpr std::uint32_t Brightness(Pixel colour) {
    return 299 * (colour & 0xFF) + 587 * (colour >> 8 & 0xFF) + 114 * (colour >> 16 & 0xFF);
}

// 0xRRGGBB, as the settings give a colour, and back.
constexpr Pixel PixelOfHex(std::uint32_t rgb) {
    return Rgb(rgb >> 16, rgb >> 8, rgb);
}
constexpr std::uint32_t HexOfPixel(Pixel colour) {
    return (colour & 0xFF) << 16 | (colour & 0xFF00) | (colour >> 16 & 0xFF);
}
std::string HexColourText(Pixel colour); // "#12AB34"

// Colours at one console's depth. Two pixels that reduce to one console
// colour are one colour there.
class ColourDepth {
  public:
    explicit ColourDepth(ExportHardware hardware,
                         const NesMasterPalette& nes = BuiltInNesPalette());

    ConsoleColour Reduce(Pixel colour) const;
    // The colour the console shows, 8 bits a channel (for gb, the colour itself).
    Pixel Show(ConsoleColour colour) const;

  private:
    ExportHardware hardware_;
    int bits_;
    NesMasterPalette nes_;
    mutable std::unordered_map<Pixel, ConsoleColour> nearest_; // NES colours already found
};

// The colours of a GIMP palette file (.gpl) in order: "GIMP Palette", then
// optional Name: and Columns: lines and # comments, then one colour a line,
// its red, green and blue from 0 to 255 and an optional name. A refusal names
// fileName and the line.
inline constexpr std::size_t GimpPaletteMaxSize = 1u << 20;
Result<std::vector<Pixel>> ParseGimpPalette(std::string_view bytes, std::string_view fileName);

} // namespace tessra
