#include "core/edit/tile_swap.h"

#include <array>
#include <gtest/gtest.h>
#include <string>

using namespace tessra;

// Each pair of boxes reads as "A B", or is refused naming the box at fault.
TEST(TileSwap, ReadsBoxesAndRefusesOutsideTileRange) {
    const std::array<const char*, 3> cases[] = {
        {"2.5", "3.5", "2 4"},
        {"255", "&HF", "255 15"},
        {"300", "1", "Tile A must be a number from 0 to 255."},
        {"1", "-1", "Tile B must be a number from 0 to 255."},
        {"255.5", "0", "Tile A must be a number from 0 to 255."},
    };
    for (const auto& [a, b, read] : cases) {
        const auto pair = ReadTilePair(a, b);
        EXPECT_EQ(pair.ok() ? std::to_string(pair.value().A) + ' ' + std::to_string(pair.value().B)
                            : pair.message(),
                  read);
    }
    EXPECT_EQ(TileBoxValue("-300"), -300); // previews still see numbers off the palette
    EXPECT_EQ(TileBoxValue("40000"), std::nullopt);
}

// 3s, 7s and 5s in turn over the whole grid: 21,846 3s, then 21,845 of each other.
TEST(TileSwap, SwapExchangesWhileReplaceMerges) {
    MapGrid mixed;
    for (int i = 0; i < CellCount; ++i) {
        mixed.data()[i] = static_cast<std::uint8_t>(i % 3 == 0 ? 3 : i % 3 == 1 ? 7 : 5);
    }
    MapGrid swapped = mixed, replaced = mixed;
    EXPECT_EQ(SwapTiles(swapped, 3, 7), 21846 + 21845);
    EXPECT_EQ(ReplaceTiles(replaced, 3, 7), 21846);
    for (int i = 0; i < CellCount; ++i) {
        const int tile = mixed.data()[i];
        ASSERT_EQ(swapped.data()[i], tile == 3 ? 7 : tile == 7 ? 3 : tile) << i;
        ASSERT_EQ(replaced.data()[i], tile == 3 ? 7 : tile) << i;
    }
    EXPECT_EQ(SwapTiles(swapped, 3, 3) + ReplaceTiles(swapped, 7, 7), 0);
}
