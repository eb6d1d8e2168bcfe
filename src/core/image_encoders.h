#pragma once

#include "core/surface.h"

#include <cstdint>
#include <vector>

namespace tessra {

// Whole image files, as bytes: 24 bits a pixel, no alpha channel.
std::vector<std::uint8_t> EncodeBmp(const Surface& picture);
std::vector<std::uint8_t> EncodePng(const Surface& picture);

} // namespace tessra
