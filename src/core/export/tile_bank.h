#pragma once

#include "core/base/result.h"
#include "core/export/console_colour.h"
#include "core/export/export_settings.h"
#include "core/export/tile_encoding.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tessra {

// The 8 x 8 tiles and sub-palette colours that several maps share, with
// their numbers: a tile or colour once there keeps its number, so adding a
// map never renumbers the others'.
struct TileBank {
    ExportHardware Hardware = ExportHardware::None; // none: empty, no console yet
    int Bpp = 0;
    std::vector<TileIndices> Tiles;                   // numbered from 0
    std::vector<std::vector<ConsoleColour>> Palettes; // each sub-palette's colours in order

    bool operator==(const TileBank&) const = default;
};

// A bank holds at most the Mega Drive's 2,048 tiles: well under a megabyte.
inline constexpr std::size_t TileBankMaxSize = 1u << 20;

// The bank as text that diffs line by line: a first line "TESSRA tile bank",
// "console NAME", "bpp N", a line a sub-palette ("palette P" and its colours
// as the console keeps them, in hex), then a line a tile ("tile N" and its 8
// rows of colour indices, a hex digit a pixel, two at 8 bits a pixel). Lines
// starting with # are comments.
std::string WriteTileBankText(const TileBank& bank);

// Reads a bank written so; an empty file is an empty bank. A refusal names
// fileName, the line and what is wrong with it.
Result<TileBank> ParseTileBank(std::string_view text, std::string_view fileName);

// Drops the tiles no map uses (used[n] false) and numbers the rest from 0 in
// their order; each old number's new one, or -1 for a tile dropped.
std::vector<int> CompactTileBank(TileBank& bank, const std::vector<bool>& used);

} // namespace tessra
