#pragma once

#include "core/result.h"
#include "core/surface.h"

#include <optional>
#include <string>
#include <vector>

namespace tessra {

// Reads and decodes one tileset picture, PNG or PCX. A failure names the file
// and the reason, e.g. "tiles/a.pcx: BytesPerLine is 0". What the user should
// know of a picture that loads but shows black is added to `notes`.
Result<Surface> LoadTilesetPicture(const std::string& path,
                                   std::vector<std::string>* notes = nullptr);

// How many tiles a tileset file holds, from its header alone; nothing when
// only decoding it can tell (it cannot be read, or its header is refused).
std::optional<int> CountTilesetTiles(const std::string& path);

} // namespace tessra
