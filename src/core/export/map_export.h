#pragma once

#include "core/base/result.h"
#include "core/export/console_tiles.h"
#include "core/export/export_formats.h"
#include "core/export/export_settings.h"
#include "core/model/map_grid.h"
#include "core/model/tile_attributes.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessra {

// The tile graphics and palettes an export holds, for the size line.
struct ArtSummary {
    int Tiles = 0;
    int TileLimit = 0; // tiles the entries can name from tile-base
    std::size_t TileBytes = 0;
    int Palettes = 0;
    int PaletteLimit = 0;
    std::size_t PaletteBytes = 0;
};

// What an export writes: its files, whole, and the size of the data they hold
// (the bytes after compression, before any C or assembly text).
struct MapExport {
    std::vector<ExportFile> Files;
    std::size_t DataSize = 0;      // the map's
    std::optional<ArtSummary> Art; // with tiles, palettes or numbering unique
    // With a bank: the bank grown by the map's tiles and colours, for the
    // bank's file (the caller writes it with the files).
    std::optional<TileBank> Bank;
};

// The export, from cells to files, in memory: checks the settings, turns the
// region's cells into entry values (with the tiles' attributes for behaviour
// and hardware maps), lays them out in screens, packs them into bytes,
// compresses each array and writes the format; then the tile graphics and the
// palettes, when the settings name them, each in the same format, named
// NAME_tiles and NAME_palettes. The name defaults to one made from
// outputPath. The tiles, palettes and numbering unique read the pictures from
// `art`, or take the tiles already `made` from them. With a bank the tiles
// and palettes are the bank's: named after its file (BANK_tiles) and
// described by it alone, so that every map that shares it writes them alike.
// Any refusal comes before a single file exists.
Result<MapExport> ExportMap(const MapGrid& map, const TileAttributeTable& attributes,
                            const ExportSettings& settings, std::string_view outputPath,
                            const ArtInputs* art = nullptr, const ConsoleTiles* made = nullptr);

// The tile graphics and palettes files the settings name, of the tiles made
// for them (or a bank's), as ExportMap writes them; mapName names them when
// there is no bank. Their sizes go to `summary`.
std::vector<ExportFile> ExportArtFiles(const ExportSettings& settings, const ConsoleTiles& tiles,
                                       const std::string& mapName, ArtSummary& summary);

// A bank's tiles and colours as the tiles of an export, for its outputs.
ConsoleTiles BankTiles(const TileBank& bank);

// What an export wrote, for the user: "Exported 4 bytes to out.bin; 12 tiles,
// 384 bytes, to tiles.bin; 1 palette, 32 bytes, to pal.bin." The window's
// status bar and tessra-cli say the same.
std::string DescribeWrittenExport(const MapExport& result, const ExportSettings& settings);

} // namespace tessra
