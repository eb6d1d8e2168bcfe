#pragma once

#include "core/result.h"
#include "core/surface.h"

#include <string>
#include <vector>

namespace tessra {

// Reads and decodes one tileset picture, PNG or PCX. A failure names the file
// and the reason, e.g. "tiles/a.pcx: BytesPerLine is 0". What the user should
// know of a picture that loads but shows black is added to `notes`.
Result<Surface> LoadTilesetPicture(const std::string& path,
                                   std::vector<std::string>* notes = nullptr);

} // namespace tessra
