#pragma once

#include "core/result.h"
#include "core/surface.h"

#include <string>

namespace tessra {

// Reads and decodes one tileset picture, PNG or PCX. A failure names the file
// and the reason, e.g. "tiles/a.pcx: BytesPerLine is 0".
Result<Surface> LoadTilesetPicture(const std::string& path);

} // namespace tessra
