#include "core/edit/stamp_builder.h"
#include "core/edit/tool_table.h"
#include "core/view_fixtures.h"

#include <gtest/gtest.h>

using namespace tessra;

// Points past the palette and the 8 x 8 grid change nothing; a hidden cell
// (column 7 at size 2) is still written and drawn.
TEST(StampBuilder, PaintsHiddenCellsAndIgnoresPointsOutside) {
    EditorState state;
    StampBuilderModel builder = OpenStampBuilder(state, GradientPalette());
    EXPECT_TRUE(PickBuilderTile(state, builder, 40, 20));
    EXPECT_FALSE(PickBuilderTile(state, builder, 0, 300)); // no tile 288
    EXPECT_EQ(std::tuple(state.StampBuilderTile, builder.Marker.column), std::tuple(18, 2));
    for (double x : {7 * 64 + 63.0, 512.0, -0.5}) {
        EXPECT_TRUE(PressStampGrid(state, LeftButton, x, 64));
    }
    EXPECT_FALSE(PressStampGrid(state, LeftButton | RightButton, 0, 0));
    StampCells expected{};
    StampCell(expected, 7, 1) = 18;
    EXPECT_EQ(state.StampBuilderData, expected);

    Surface grid;
    DrawStampGrid(state.StampBuilderData, builder.Palette, grid);
    EXPECT_EQ(grid.At(7 * 64 + 63, 64), GradientTilePixel(18, 15, 0));

    state.StampSizeIndexX = 7; // sizes past the lists' ends open as the nearest choice
    state.StampSizeIndexY = -1;
    builder = OpenStampBuilder(state, GradientPalette());
    EXPECT_EQ(std::pair(builder.SizeIndexX, builder.SizeIndexY), std::pair(6, 0));
}
