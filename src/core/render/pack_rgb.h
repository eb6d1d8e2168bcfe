#pragma once

#include "core/render/surface.h"

#include <cstddef>
#include <cstdint>

namespace tessra {

// Writers of red, green, blue bytes, as PPM and PNG keep them, at 3 x count
// bytes from out, and not one byte past them. On processors that have it, a
// shuffle instruction does sixteen bytes at a time.

// Pixels (r, g, b, 0xFF in memory) to red, green, blue bytes.
void PackRgb(const Pixel* in, std::size_t count, std::uint8_t* out);

// A red, a green and a blue plane of count bytes each, interleaved.
void InterleaveRgb(const std::uint8_t* red, const std::uint8_t* green, const std::uint8_t* blue,
                   std::size_t count, std::uint8_t* out);

} // namespace tessra
