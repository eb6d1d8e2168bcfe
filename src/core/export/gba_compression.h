#pragma once

#include "core/base/result.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace tessra {

// The compressed streams the Game Boy Advance BIOS unpacks. Each starts with a
// four-byte header, the type byte then the unpacked size in 24 bits, low byte
// first, and ends with zero bytes up to a multiple of four, since the BIOS
// reads the header as one aligned word.
inline constexpr std::uint8_t GbaRleHeader = 0x30;
inline constexpr std::uint8_t GbaLz77Header = 0x10;
inline constexpr std::size_t GbaMaxUnpackedSize = 0xFFFFFF;

// RLUnComp: a flag byte, then either 1..128 bytes as they are (bit 7 clear,
// count - 1 below it) or one byte repeated 3..130 times (bit 7 set, count - 3).
// Input longer than GbaMaxUnpackedSize is cut there.
std::vector<std::uint8_t> CompressGbaRle(std::span<const std::uint8_t> bytes);

// LZ77UnComp: a flag byte for every eight blocks, highest bit first; a clear
// bit is one byte as it is, a set bit two bytes: length - 3 in the top four
// bits, then distance - 1 in twelve bits. Lengths are 3..18, distances 2..4096:
// never 1, so that LZ77UnCompVram, which writes 16 bits at a time, can unpack
// it straight into video memory. The blocks are chosen for the shortest output.
// Input longer than GbaMaxUnpackedSize is cut there.
std::vector<std::uint8_t> CompressGbaLz77(std::span<const std::uint8_t> bytes);

// The unpacking, as strict as the BIOS is loose: a wrong header, a stream that
// ends early, a block that runs past the unpacked size or reaches before the
// start, and for LZ77 a distance of 1, are refused.
Result<std::vector<std::uint8_t>> DecompressGbaRle(std::span<const std::uint8_t> packed);
Result<std::vector<std::uint8_t>> DecompressGbaLz77(std::span<const std::uint8_t> packed);

} // namespace tessra
