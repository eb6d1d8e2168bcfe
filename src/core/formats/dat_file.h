#pragma once

#include "core/base/result.h"
#include "core/model/map_grid.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace tessra {

// The width and height of the block to export, in cells (1..256 each).
struct MapFileSize {
    int W = 0;
    int H = 0;
};

// Reads the width (X) and height (Y) boxes: the whole part of each value, which
// must be 1..256.
Result<MapFileSize> ReadMapFileSize(std::string_view xText, std::string_view yText);

// The top-left W x H cells, one byte each, row after row. W and H are clamped
// to 0..256.
std::vector<std::uint8_t> WriteMapFileBytes(const MapGrid& map, int W, int H);

} // namespace tessra
