#pragma once

#include "core/base/result.h"
#include "core/model/map_grid.h"

#include <string>
#include <string_view>
#include <vector>

namespace tessra {

// What a project file holds: the tileset paths in palette order and the map.
struct ProjectData {
    std::vector<std::string> Tilesets;
    MapGrid MapData;
};

// The file's bytes: a count line, one line per tileset path, then every cell
// column by column, each number written as " n " and every line ending in CRLF.
std::string WriteProjectBytes(const std::vector<std::string>& tilesets, const MapGrid& map);

// Reads a project file whole or not at all. A refusal names fileName and the
// line at fault: a count that is not a whole number 0 or more, a cell value
// outside 0..255, or a file that ends before its last cell line. A line without
// a number reads as 0; fractions round half to even. LF-only line ends are
// accepted as well as CRLF.
Result<ProjectData> ParseProject(std::string_view bytes, std::string_view fileName);

} // namespace tessra
