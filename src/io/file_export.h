#pragma once

#include "core/base/result.h"
#include "core/export/export_formats.h"
#include "core/export/export_profile.h"
#include "core/export/map_export.h"
#include "io/file_io.h"

#include <string>
#include <vector>

namespace tessra {

// Reads an export profile, no more than the largest it may be; a failure
// names the file and the reason.
Result<ExportProfile> LoadExportProfile(const std::string& path);

// Writes a profile through a temporary file, synced before it takes the old
// one's place.
Status SaveExportProfile(const std::string& path, const ExportProfile& profile);

// The files an export of the map at mapPath reads, and so must not replace:
// the map, its tile attributes and its profile; none for a map without a file.
std::vector<std::string> FilesOfMap(const std::string& mapPath);

// Reads a tile bank; a file that does not exist is an empty bank, which the
// first export that names it fills.
inline constexpr ReadLimit TileBankLimit{TileBankMaxSize, "a tile bank"};
Result<TileBank> LoadTileBank(const std::string& path);

// The bank's file as an export leaves it, for a group write.
std::string TileBankText(const MapExport& result);

// What the tile graphics and palettes read besides the map: the palette
// picture (unflipped), the palette files and the tile bank the settings
// name, read and parsed; a failure names the file.
inline constexpr ReadLimit PaletteFileLimit{1u << 20, "a palette file"};
Result<ArtInputs> ReadArtInputs(const ExportSettings& settings, const Surface* picture);

// The export of the map as the settings say, written to output (and the
// tiles and palettes the settings name, and the bank it grows) once no file
// of it is one of `sources` or a palette file it reads: each file whole to a
// temporary one, synced, before any takes its place (C writes two each). A
// file that already holds its bytes is left as it is.
Result<MapExport> ExportMapFiles(const MapGrid& map, const TileAttributeTable& attributes,
                                 const ExportSettings& settings, const std::string& output,
                                 const std::vector<std::string>& sources,
                                 const ArtInputs* art = nullptr);

} // namespace tessra
