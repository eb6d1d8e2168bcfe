#pragma once

#include "core/surface.h"

#include <cstddef>
#include <cstdint>

namespace tessra {

// Pixels (r, g, b, 0xFF in memory) become bytes of red, green, blue:
// 3 x count bytes at out.
void PackRgb(const Pixel* in, std::size_t count, std::uint8_t* out);

} // namespace tessra
