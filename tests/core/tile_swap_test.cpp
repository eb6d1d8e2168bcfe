#include "core/tile_swap.h"

#include <gtest/gtest.h>

using namespace tessra;

namespace {

// 3s, 7s and 5s in turn over the whole grid.
MapGrid MixedMap() {
    MapGrid map;
    const std::uint8_t tiles[] = {3, 7, 5};
    for (int i = 0; i < CellCount; ++i) {
        map.data()[i] = tiles[i % 3];
    }
    return map;
}

int CountOf(const MapGrid& map, int tile) {
    int count = 0;
    for (int i = 0; i < CellCount; ++i) {
        count += map.data()[i] == tile;
    }
    return count;
}

} // namespace

TEST(TileSwap, ReadsBoxesAndRefusesOutsideTileRange) {
    const struct {
        const char *a, *b, *refusal;
        int A, B;
    } cases[] = {
        {"2.5", "3.5", nullptr, 2, 4},    {"", "abc", nullptr, 0, 0},
        {"255", "&HF", nullptr, 255, 15}, {"300", "1", "Tile A", 0, 0},
        {"1", "-1", "Tile B", 0, 0},      {"1e9", "-1", "Tile A", 0, 0},
        {"255.5", "0", "Tile A", 0, 0},
    };
    for (const auto& c : cases) {
        const auto pair = ReadTilePair(c.a, c.b);
        if (c.refusal) {
            ASSERT_FALSE(pair.ok()) << c.a << ' ' << c.b;
            EXPECT_NE(pair.message().find(c.refusal), std::string::npos) << pair.message();
        } else {
            ASSERT_TRUE(pair.ok()) << c.a << ' ' << c.b << ": " << pair.message();
            EXPECT_EQ(pair.value().A, c.A);
            EXPECT_EQ(pair.value().B, c.B);
        }
    }
    EXPECT_EQ(TileBoxValue("-300"), -300); // previews still see numbers off the palette
    EXPECT_EQ(TileBoxValue("40000"), std::nullopt);
}

TEST(TileSwap, SwapExchangesWhileReplaceMerges) {
    MapGrid swapped = MixedMap();
    const int threes = CountOf(swapped, 3);
    EXPECT_EQ(SwapTiles(swapped, 3, 7), CountOf(MixedMap(), 3) + CountOf(MixedMap(), 7));
    EXPECT_EQ(swapped.data()[0], 7);
    EXPECT_EQ(swapped.data()[1], 3);
    EXPECT_EQ(CountOf(swapped, 5), CountOf(MixedMap(), 5));

    MapGrid replaced = MixedMap();
    EXPECT_EQ(ReplaceTiles(replaced, 3, 7), threes);
    EXPECT_EQ(CountOf(replaced, 3), 0);
    EXPECT_EQ(CountOf(replaced, 7), CountOf(MixedMap(), 3) + CountOf(MixedMap(), 7));
    EXPECT_EQ(CountOf(replaced, 5), CountOf(MixedMap(), 5));
}

TEST(TileSwap, SameTileChangesNothing) {
    MapGrid map = MixedMap();
    EXPECT_EQ(SwapTiles(map, 3, 3), 0);
    EXPECT_EQ(ReplaceTiles(map, 7, 7), 0);
    EXPECT_TRUE(map == MixedMap());
}
