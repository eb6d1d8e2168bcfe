#pragma once

#include "core/render/surface.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace tessra {

// The PCX decoding rules written the slow, plain way, to hold the fast decoder
// to: the whole run-length stream into one buffer of the format's size, then
// every pixel by its formula. Only for files DecodePCX accepts.
Surface PlainDecodePCX(std::span<const std::uint8_t> file);

// The bytes PlainDecodePCX would hold for a file DecodePCX accepts, so that a
// caller can pass over a file too large to decode the plain way.
std::size_t PlainDecodeBytes(std::span<const std::uint8_t> file);

} // namespace tessra
