#pragma once

#include "core/base/result.h"
#include "core/export/export_formats.h"
#include "core/export/export_settings.h"
#include "core/model/map_grid.h"
#include "core/model/tile_attributes.h"

#include <cstddef>
#include <string_view>
#include <vector>

namespace tessra {

// What an export writes: its files, whole, and the size of the data they hold
// (the bytes after compression, before any C or assembly text).
struct MapExport {
    std::vector<ExportFile> Files;
    std::size_t DataSize = 0;
};

// The export, from cells to files, in memory: checks the settings, turns the
// region's cells into entry values (with the tiles' attributes for behaviour
// and hardware maps), lays them out in screens, packs them into bytes,
// compresses each array and writes the format. The name defaults to one made
// from outputPath. Any refusal comes before a single file exists.
Result<MapExport> ExportMap(const MapGrid& map, const TileAttributeTable& attributes,
                            const ExportSettings& settings, std::string_view outputPath);

} // namespace tessra
