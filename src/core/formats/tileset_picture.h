#pragma once

#include "core/base/result.h"
#include "core/render/surface.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>

namespace tessra {

// Decodes the bytes of one tileset file into its picture. A file that starts
// with the PNG signature is read as PNG whatever its name; a name ending in
// .png whose bytes are not PNG is refused unless they are a PCX's; everything
// else that starts with the PCX maker's byte is read as PCX (a kind the editor
// does not draw gives a black picture of its size), and the rest is refused.
// A refusal starts with the name: "a.png: ...".
Result<Surface> DecodeTilesetPicture(std::span<const std::uint8_t> file, std::string_view name);

// How many tiles the picture of a tileset file holds, read from the start of the
// file alone (its first TilesetHeadSize bytes are enough), or nothing when only
// decoding the whole file can tell.
inline constexpr std::size_t TilesetHeadSize = 128;
std::optional<int> TilesetTileCountOfHead(std::span<const std::uint8_t> head);
// The picture's width and height, from the head alone, or nothing.
std::optional<std::pair<int, int>> TilesetPictureSizeOfHead(std::span<const std::uint8_t> head);

// What to tell the user about a file that decodes to black tiles because it is
// a kind of PCX the editor does not draw, naming the file and the kind; nothing
// for any other file.
std::optional<std::string> UndrawnPictureNote(std::span<const std::uint8_t> file,
                                              std::string_view name);

} // namespace tessra
