#pragma once

#include "core/result.h"
#include "core/surface.h"

#include <cstdint>
#include <span>
#include <string_view>

namespace tessra {

// Decodes the bytes of one tileset file into its picture. A file that starts
// with the PNG signature is read as PNG whatever its name; a name ending in
// .png whose bytes are not PNG is refused unless they are a PCX's; everything
// else is read as PCX, as it always was (a kind the editor does not draw gives
// a black picture of its size). A refusal starts with the name: "a.png: ...".
Result<Surface> DecodeTilesetPicture(std::span<const std::uint8_t> file, std::string_view name);

} // namespace tessra
