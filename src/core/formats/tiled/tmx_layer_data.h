#pragma once

#include "core/base/result.h"
#include "core/formats/tiled/tmx_map.h"

#include <cstdint>
#include <vector>

namespace tessra {

// A tile layer's cells, row by row, as Tiled's global tile numbers (flip flags
// included): from CSV, from base64 of little-endian 32-bit numbers
// (uncompressed, zlib, gzip or zstd), or as the format gave them one by one.
// Refused, saying what is wrong, when the data does not decode or holds other
// than width x height cells. Decompression never goes past that size.
Result<std::vector<std::uint32_t>> DecodeLayerData(const TiledLayer& layer);

} // namespace tessra
