#pragma once

#include "core/base/result.h"

#include <cstdint>
#include <span>
#include <vector>

namespace tessra {

// The colours one tile uses, the backdrop left out where the sub-palettes keep one.
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

// Where the tiles' colours go: `count` sub-palettes of `colours` colours
// each. With `backdrop`, entry 0 of every one is the backdrop, which the
// tiles' colours leave out and which costs no room.
struct SubPalettes {
    int count = 0;
    int colours = 0;
    bool backdrop = true;
};

// Gives each tile a sub-palette so that the colours of the tiles sharing one
// fit it, in as few sub-palettes as it can. First fit by overlap and joining
// the sets that share the most colours are tried first, the better kept;
// then, from a lower bound up, an exact search for a packing into
// fewer, which runs to the end while the tiles' distinct colour sets are few
// and otherwise stops after a fixed amount of work and keeps the best found.
// The sub-palettes are numbered in the order the tiles, as given, first use
// them. Refused, naming the tile and the counts: a tile with more colours
// than a sub-palette holds, and tiles that need more sub-palettes than there are.
Result<PalettePacking> PackPalettes(std::span<const TileColours> tiles, const SubPalettes& room);

} // namespace tessra
