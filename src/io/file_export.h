#pragma once

#include "core/base/result.h"
#include "core/export/export_formats.h"
#include "core/export/export_profile.h"
#include "core/export/map_export.h"

#include <string>
#include <vector>

namespace tessra {

// Reads an export profile, no more than the largest it may be; a failure
// names the file and the reason.
Result<ExportProfile> LoadExportProfile(const std::string& path);

// Writes a profile through a temporary file, synced before it takes the old
// one's place.
Status SaveExportProfile(const std::string& path, const ExportProfile& profile);

// The export of the map as the settings say, written to output once no file
// of it is one of `sources` (FilesOfMap, and any other file it reads): each
// file whole to a temporary one, synced, before any takes its place (C
// writes two; "-" is standard output).
Result<MapExport> ExportMapFiles(const MapGrid& map, const TileAttributeTable& attributes,
                                 const ExportSettings& settings, const std::string& output,
                                 const std::vector<std::string>& sources);

} // namespace tessra
