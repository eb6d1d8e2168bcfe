#pragma once

#include "core/pcx.h"
#include "core/result.h"

#include <string>

namespace tessra {

// Reads and decodes one PCX tileset. A failure names the file and the reason,
// e.g. "tiles/a.pcx: BytesPerLine is 0".
Result<PcxImage> LoadPCX(const std::string& path);

// The same into an existing image, reusing its storage; on a failure the image
// is left as it was.
Status LoadPCX(const std::string& path, PcxImage& image);

} // namespace tessra
