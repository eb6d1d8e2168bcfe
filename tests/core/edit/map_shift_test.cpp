#include "core/edit/map_shift.h"
#include "core/edit/tile_swap.h"

#include <array>
#include <gtest/gtest.h>
#include <string>

using namespace tessra;

TEST(MapShift, ReadsTheBoxesOrNamesTheOneAtFault) {
    const auto tiles = ReadTileShift(" 20", "+2 ", "255"); // a range typed backwards
    ASSERT_TRUE(tiles.ok());
    EXPECT_EQ(std::tuple(int{tiles.value().From}, int{tiles.value().To}, tiles.value().Offset),
              std::tuple(2, 20, 255));
    const auto wrap = ReadMapShift("-255", "4", true, "junk: wrapping needs no fill tile");
    ASSERT_TRUE(wrap.ok());
    EXPECT_EQ(std::tuple(wrap.value().DX, wrap.value().DY), std::tuple(-255, 4));
    EXPECT_EQ(ReadMapShift("1", "0", false, "255").value().FillTile, 255);

    const std::pair<std::string, const char*> refusals[] = {
        {ReadTileShift("256", "1", "1").message(), "From must be a tile number from 0 to 255."},
        {ReadTileShift("1", "2", "-1e9").message(),
         "Offset must be a whole number from -255 to 255."},
        {ReadMapShift("256", "0", true, "").message(), "X shift "},
        {ReadMapShift("0", "0", false, "256").message(), "Fill tile "},
        // Not the general reading rule: nothing here reads as 0 or is rounded.
        {ReadTileShift("1", "2", "12abc").message(), "Offset "},
        {ReadMapShift("0", "&H1", true, "").message(), "Y shift "},
        {ReadMapShift("0", "0", false, "+-1").message(), "Fill tile "},
    };
    for (const auto& [message, start] : refusals) {
        EXPECT_EQ(message.rfind(start, 0), 0u) << message;
    }
}

TEST(MapShift, TileShiftMovesTheRangeOrRefusesWithoutChangingACell) {
    MapGrid map;
    const int tiles[] = {10, 20, 40, 250};
    for (int x = 0; x < 4; ++x) {
        map(x, 0) = static_cast<std::uint8_t>(tiles[x]);
    }
    const MapGrid before = map;
    for (const auto& [shift, refusal] : {
             std::pair<TileShift, const char*>{{200, 255, 6}, "turn tile 250 into 256"},
             {{0, 20, -1}, "turn tile 0 into -1"},
             {{41, 60, 5}, nullptr}, // no cell holds these
             {{0, 255, 0}, nullptr},
         }) {
        const auto result = ShiftTiles(map, shift);
        EXPECT_TRUE(map == before);
        EXPECT_EQ(result.ok(), !refusal);
        EXPECT_TRUE(!refusal || result.message().find(refusal) != std::string::npos);
    }
    // Only tiles that cells hold can refuse: 39 + 235 would not fit.
    EXPECT_EQ(ShiftTiles(map, {10, 39, 235}).value(), 2);
    EXPECT_EQ(std::vector<int>({map(0, 0), map(1, 0), map(2, 0), map(3, 0), map(4, 0)}),
              std::vector<int>({245, 255, 40, 250, 0}));
}

TEST(MapShift, MovesTheMapWrappingOrFilling) {
    MapGrid old; // (x + 3y) mod 256: every row and column differ
    for (int i = 0; i < CellCount; ++i) {
        old.data()[i] = static_cast<std::uint8_t>(i % 256 + 3 * (i / 256));
    }
    const auto mod = [](long long v) { return static_cast<int>((v % 256 + 256) % 256); };
    for (const auto& [dx, dy] : {std::pair(1, 0), {-3, 7}, {255, -255}, {-700, 1000}}) {
        for (const bool wrap : {true, false}) {
            MapGrid map = old;
            ShiftMap(map, {dx, dy, wrap, 99});
            int wrong = 0;
            for (int y = 0; y < MapSize; ++y) {
                for (int x = 0; x < MapSize; ++x) {
                    int expected = wrap ? old(mod(x - dx), mod(y - dy)) : 99;
                    if (!wrap && MapGrid::Contains(x - dx, y - dy)) {
                        expected = old(x - dx, y - dy);
                    }
                    wrong += map(x, y) != expected;
                }
            }
            EXPECT_EQ(wrong, 0) << dx << ',' << dy << (wrap ? " wrap" : " fill");
        }
    }
}

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
