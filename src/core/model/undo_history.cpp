#include "core/model/undo_history.h"

#include <cstring>

namespace tessra {
namespace {

// Eight cells at a time: most steps change few cells, so most words are equal.
std::uint64_t Word(const std::uint8_t* cells) {
    std::uint64_t word;
    std::memcpy(&word, cells, sizeof word);
    return word;
}

// The number of nonzero bytes in a word.
int ChangedBytes(std::uint64_t x) {
    x |= x >> 4;
    x |= x >> 2;
    x |= x >> 1;
    x &= 0x0101010101010101ULL;
    return static_cast<int>((x * 0x0101010101010101ULL) >> 56);
}

} // namespace

std::vector<CellChange> DiffMaps(const MapGrid& before, const MapGrid& after) {
    const std::uint8_t* a = before.data();
    const std::uint8_t* b = after.data();
    // Counting first keeps the stored vector exactly as large as the step.
    std::size_t count = 0;
    for (int i = 0; i < CellCount; i += 8) {
        count += ChangedBytes(Word(a + i) ^ Word(b + i));
    }
    std::vector<CellChange> cells;
    cells.reserve(count);
    for (int i = 0; i < CellCount; i += 8) {
        if (Word(a + i) == Word(b + i)) {
            continue;
        }
        for (int k = i; k < i + 8; ++k) {
            if (a[k] != b[k]) {
                cells.push_back({static_cast<std::uint16_t>(k), a[k], b[k]});
            }
        }
    }
    return cells;
}

} // namespace tessra
