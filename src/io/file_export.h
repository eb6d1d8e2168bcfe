#pragma once

#include "core/base/result.h"
#include "core/export/export_formats.h"
#include "core/export/export_profile.h"
#include "core/export/map_export.h"
#include "io/file_io.h"

#include <optional>
#include <string>
#include <vector>

namespace tessra {

// Reads an export profile, no more than the largest it may be; a failure
// names the file and the reason.
Result<ExportProfile> LoadExportProfile(const std::string& path);

// The profile kept beside the map at mapPath (NAME.export.json), its paths
// taken from the map's folder and made whole; none when there is no such file.
Result<std::optional<ExportProfile>> ReadMapProfile(const std::string& mapPath);

// The profile as NAME.export.json keeps it: its paths relative to the map's
// folder, so that the two can move together.
ExportProfile ProfileBesideMap(const std::string& mapPath, ExportProfile profile);

// Writes ProfileBesideMap through a temporary file, synced before it takes
// the old one's place.
Status SaveMapProfile(const std::string& mapPath, const ExportProfile& profile);

// The outputs the profile names (the output, the tiles and palettes; a C
// header lies beside its source) that lie outside `folder`, links followed.
std::vector<std::string> OutputsOutside(const ExportProfile& profile, const std::string& folder);

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
// of it is one of `sources` (FilesOfMap, and any other file it reads) or a
// palette file it reads: each file whole to a temporary one, synced, before
// any takes its place (C writes two each; "-" is standard output); a file
// that already holds its bytes is left as it is. `picture` is the palette
// picture, unflipped, for the settings that read the tiles' pictures.
Result<MapExport> ExportMapFiles(const MapGrid& map, const TileAttributeTable& attributes,
                                 const ExportSettings& settings, const std::string& output,
                                 const std::vector<std::string>& sources,
                                 const Surface* picture = nullptr);

} // namespace tessra
