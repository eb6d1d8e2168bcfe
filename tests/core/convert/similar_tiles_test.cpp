#include "core/convert/similar_tiles.h"
#include "core/render/palette_layout.h"

#include <gtest/gtest.h>

using namespace tessra;

// Tile 0 and its copies 4 (used) and 3 (unused); tile 1 differs from them in
// pixels 0-2, tile 2 in pixels 0-8. Pairs come closest first, each merging
// the tile fewer cells hold into the other.
TEST(SimilarTiles, ListsUsedPairsWithinTheLimitClosestFirst) {
    Surface palette(PaletteWidth, PaletteHeight);
    const Pixel grey = Rgb(90, 90, 90);
    for (int tile : {0, 1, 2, 3, 4}) {
        for (int i = 0; i < TilePixels; ++i) {
            const int changed = tile == 1 ? 3 : tile == 2 ? 9 : 0;
            palette.Set(TileLeft(tile) + i % TileSize, TileTop(tile) + i / TileSize,
                        i < changed ? White : grey);
        }
    }
    MapGrid map;
    map.Fill(4);
    map(0, 0) = 1;
    map(1, 0) = 2;
    map(2, 0) = 2;
    for (int x = 3; x < 13; ++x) {
        map(x, 0) = 0;
    }
    const int fours = CellCount - 13;
    const std::vector<SimilarTiles> expected = {
        {4, 0, 0, fours, 10}, {0, 1, 3, 10, 1}, {4, 1, 3, fours, 1}, {2, 1, 6, 2, 1}};
    EXPECT_EQ(FindSimilarTiles(palette, map, 8), expected);
    EXPECT_EQ(FindSimilarTiles(palette, map, 9).size(), 6u);
    EXPECT_EQ(FindSimilarTiles(palette, map, 0).size(), 1u);

    const TileDifference differ = DifferingPixels(palette, 2, 1);
    EXPECT_EQ(differ.count(), 6u);
    EXPECT_TRUE(differ[3] && differ[8] && !differ[2] && !differ[9]);
    EXPECT_EQ(DescribeSimilarTiles(expected[1]),
              "Tile 1 (1 cell) looks like tile 0 (10 cells): 3 pixels differ.");
}
