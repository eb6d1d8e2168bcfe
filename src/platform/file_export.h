#pragma once

#include "core/export_formats.h"
#include "core/export_profile.h"
#include "core/map_export.h"
#include "core/result.h"

#include <QString>
#include <string>
#include <vector>

namespace tessra {

// Reads an export profile, no more than the largest it may be; a failure
// names the file and the reason.
Result<ExportProfile> LoadExportProfile(const QString& path);

// Writes a profile through a temporary file, synced before it takes the old
// one's place.
Status SaveExportProfile(const QString& path, const ExportProfile& profile);

// An export never replaces a file it reads (the map, its tile attributes, its
// profile): refused, naming the file, before anything is written.
Status CheckExportOutputs(const std::vector<ExportFile>& files,
                          const std::vector<std::string>& sources);

// Writes an export's files (C writes two), each whole to a temporary file
// before any takes its place. The editor and tessra-cli both write through it.
Status WriteExportFiles(const std::vector<ExportFile>& files);

// The files an export of the map at mapPath reads, and so must not replace:
// the map, its tile attributes and its profile; none for a map without a file.
std::vector<std::string> FilesOfMap(const std::string& mapPath);

// The export of the map as the settings say, written to output once it is
// checked against `sources`: what the window and tessra-cli both run.
Result<MapExport> ExportMapFiles(const MapGrid& map, const TileAttributeTable& attributes,
                                 const ExportSettings& settings, const std::string& output,
                                 const std::vector<std::string>& sources);

} // namespace tessra
