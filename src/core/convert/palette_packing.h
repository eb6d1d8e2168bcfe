#pragma once

#include "core/base/result.h"

#include <cstdint>
#include <span>
#include <vector>

namespace tessra {

// The colours one tile uses besides the backdrop, which every sub-palette holds
// in its entry 0 and so costs no room.
struct TileColours {
    int tile = 0;
    std::vector<std::uint32_t> colours; // any order; repeats count once
};

// Which sub-palette each tile takes.
struct PalettePacking {
    std::vector<int> palette; // per tile as given, 0 .. palettes - 1
    int palettes = 0;
    // Whether no packing can use fewer: proven by the exact search, or by a
    // lower bound the packing meets.
    bool fewest = false;
};

// Gives each tile a sub-palette so that the colours of the tiles sharing one
// fit its room (the colours besides the backdrop), in as few sub-palettes as
// it can. First fit by overlap is tried first; then, from a lower bound up, an
// exact search for a packing into fewer, which runs to the end while the
// tiles' distinct colour sets are few and otherwise stops after a fixed amount
// of work and keeps the best found. The sub-palettes are numbered in the order
// the tiles, as given, first use them. Refused, naming the tile and the
// counts: a tile with more colours than the room, and tiles that need more
// sub-palettes than `count`.
Result<PalettePacking> PackPalettes(std::span<const TileColours> tiles, int room, int count);

} // namespace tessra
