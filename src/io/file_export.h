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

// What the tile graphics and palettes read besides the map: the palette
// picture (unflipped) and the palette files the settings name, read and
// parsed; a failure names the file.
inline constexpr ReadLimit PaletteFileLimit{1u << 20, "a palette file"};
Result<ArtInputs> ReadArtInputs(const ExportSettings& settings, const Surface* picture);

// The export of the map as the settings say, written to output (and the
// tiles and palettes the settings name) once no file of it is one of
// `sources` (FilesOfMap, and any other file it reads) or a palette file it
// reads: each file whole to a temporary one, synced, before any takes its
// place (C writes two each; "-" is standard output).
Result<MapExport> ExportMapFiles(const MapGrid& map, const TileAttributeTable& attributes,
                                 const ExportSettings& settings, const std::string& output,
                                 const std::vector<std::string>& sources,
                                 const ArtInputs* art = nullptr);

} // namespace tessra
