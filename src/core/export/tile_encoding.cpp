#include "core/export/tile_encoding.h"

#include "core/export/console_limits.h"

#include <algorithm>

namespace tessra {

namespace {

// Bit `plane` of each pixel of one row, the leftmost in bit 7.
std::uint8_t PlaneByte(const std::uint8_t* row, int plane) {
    std::uint8_t byte = 0;
    for (int x = 0; x < 8; ++x) {
        byte |= static_cast<std::uint8_t>((row[x] >> plane & 1) << (7 - x));
    }
    return byte;
}

void AppendWord(std::vector<std::uint8_t>& out, std::uint32_t word, bool highFirst) {
    const auto low = static_cast<std::uint8_t>(word), high = static_cast<std::uint8_t>(word >> 8);
    out.push_back(highFirst ? high : low);
    out.push_back(highFirst ? low : high);
}

constexpr std::uint8_t NesBlack = 0x0F;

// BGP: each colour index's shade by its brightness among the colours, the
// lightest 0; indices past them keep their own shade. Colours numbered by
// brightness give $E4; a bank's later colours keep their numbers and take
// their shades here.
std::uint8_t GameBoyPaletteByte(const std::vector<ConsoleColour>& colours) {
    const auto before = [](ConsoleColour a, ConsoleColour b) {
        const std::uint32_t ba = Brightness(PixelOfHex(a)), bb = Brightness(PixelOfHex(b));
        return ba != bb ? ba > bb : a < b;
    };
    std::uint8_t byte = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        std::size_t shade = i;
        if (i < colours.size()) {
            shade = static_cast<std::size_t>(std::count_if(
                colours.begin(), colours.begin() + std::min<std::ptrdiff_t>(colours.size(), 4),
                [&](ConsoleColour other) { return before(other, colours[i]); }));
        }
        byte |= static_cast<std::uint8_t>(shade << (2 * i));
    }
    return byte;
}

} // namespace

TileIndices FlippedIndices(const TileIndices& tile, bool hflip, bool vflip) {
    TileIndices flipped{};
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            flipped[8 * y + x] = tile[8 * (vflip ? 7 - y : y) + (hflip ? 7 - x : x)];
        }
    }
    return flipped;
}

void AppendTileBytes(std::vector<std::uint8_t>& out, ExportHardware hardware, int bpp,
                     const TileIndices& tile) {
    switch (hardware) {
    case ExportHardware::Nes:
        for (int plane = 0; plane < 2; ++plane) {
            for (int y = 0; y < 8; ++y) {
                out.push_back(PlaneByte(&tile[8 * y], plane));
            }
        }
        return;
    case ExportHardware::Gba:
    case ExportHardware::Md:
        for (int i = 0; i < 64; i += bpp == 8 ? 1 : 2) {
            if (bpp == 8) {
                out.push_back(tile[i]);
                continue;
            }
            const bool highLeft = hardware == ExportHardware::Md;
            const int left = tile[i], right = tile[i + 1];
            out.push_back(
                static_cast<std::uint8_t>(highLeft ? left << 4 | right : right << 4 | left));
        }
        return;
    default: // snes, gbc, gb: 16-byte blocks, two planes a row
        for (int pair = 0; pair < bpp; pair += 2) {
            for (int y = 0; y < 8; ++y) {
                out.push_back(PlaneByte(&tile[8 * y], pair));
                out.push_back(PlaneByte(&tile[8 * y], pair + 1));
            }
        }
        return;
    }
}

std::vector<std::uint8_t> PaletteBytes(ExportHardware hardware, int bpp,
                                       const std::vector<std::vector<ConsoleColour>>& palettes) {
    std::vector<std::uint8_t> out;
    if (hardware == ExportHardware::Gb) {
        return {GameBoyPaletteByte(palettes.empty() ? std::vector<ConsoleColour>{} : palettes[0])};
    }
    const int room = SubPaletteRoom(bpp);
    const std::size_t count =
        hardware == ExportHardware::Nes ? ConsoleLimitsOf(hardware).paletteLimit : palettes.size();
    for (std::size_t p = 0; p < count; ++p) {
        for (int i = 0; i < room; ++i) {
            const bool filled = p < palettes.size() && i < static_cast<int>(palettes[p].size());
            // Entry 0 of every sub-palette is the backdrop, which palette 0 always has.
            const ConsoleColour colour = filled                            ? palettes[p][i]
                                         : i == 0 && !palettes.empty()     ? palettes[0][0]
                                         : hardware == ExportHardware::Nes ? NesBlack
                                                                           : 0;
            if (hardware == ExportHardware::Nes) {
                out.push_back(static_cast<std::uint8_t>(colour));
            } else {
                AppendWord(out, colour, hardware == ExportHardware::Md);
            }
        }
    }
    return out;
}

} // namespace tessra
