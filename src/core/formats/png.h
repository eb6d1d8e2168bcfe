#pragma once

#include "core/base/result.h"
#include "core/render/surface.h"

#include <cstdint>
#include <optional>
#include <span>
#include <utility>

namespace tessra {

// Whether the bytes begin with the eight bytes every PNG file begins with.
bool HasPngSignature(std::span<const std::uint8_t> file);

// The width and height in the file's IHDR chunk, which every PNG file starts
// with, or nothing when they are not there or decoding would refuse them.
std::optional<std::pair<int, int>> PngPictureSize(std::span<const std::uint8_t> file);

// Decodes a whole PNG file of any colour type and bit depth, interlaced or
// not, into a picture: colours as they are stored (no gamma), 16-bit channels
// by their high byte, grey of 1, 2 or 4 bits widened by repeating its bits. A
// pixel whose alpha (an alpha channel or a tRNS chunk) is below 128 is black,
// any other alpha is dropped. Refused with a message saying what is wrong,
// before the picture is allocated when the header is at fault: a missing
// signature, a damaged or cut-short file, a checksum that does not match, and
// a picture over 64 megapixels.
Result<Surface> DecodePNG(std::span<const std::uint8_t> file);

} // namespace tessra
