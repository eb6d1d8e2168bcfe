#pragma once

#include "core/base/result.h"
#include "core/model/tile_attributes.h"

#include <string>

namespace tessra {

// Whether a tile attributes file that does not exist reads as all zeros (the
// file beside a map) or is refused (a file the user named).
enum class MissingAttributes { AllZeros, Refused };

// Reads a tile attributes file, no more than the largest it may be; a failure
// names the file and the reason.
Result<TileAttributeTable> LoadTileAttributes(const std::string& path, MissingAttributes missing);

// Writes the file through a temporary one, synced before it takes the old
// one's place: a failed save leaves the old file whole.
Status SaveTileAttributes(const std::string& path, const TileAttributeTable& table);

} // namespace tessra
