#include "core/stamp_builder.h"
#include "core/tools.h"
#include "view_fixtures.h"

#include <gtest/gtest.h>

using namespace tessra;

TEST(StampBuilder, OpensOnTheSharedStampAndDrawsAllCells) {
    EXPECT_EQ(StampSizeTexts(), (std::vector<std::string>{"2 pix", "3 pix", "4 pix", "5 pix",
                                                          "6 pix", "7 pix", "8 pix"}));
    EditorState state;
    state.StampSizeIndexX = 2;
    StampCell(state.StampData, 1, 2) = 17;
    StampCell(state.StampData, 7, 7) = 250; // hidden, but kept and drawn
    state.StampBuilderTile = 37;
    const StampBuilderModel builder = OpenStampBuilder(state, GradientPalette());
    EXPECT_EQ(state.StampBuilderData, state.StampData);
    EXPECT_EQ(std::tuple(builder.SizeIndexX, builder.SizeIndexY), std::tuple(2, 0));
    EXPECT_EQ(std::tuple(builder.Marker.column, builder.Marker.row), std::tuple(5, 2));
    EXPECT_EQ(builder.Palette, GradientPalette()); // all 16 rows

    Surface grid;
    DrawStampGrid(state.StampBuilderData, builder.Palette, grid);
    ASSERT_EQ(grid.Width(), StampGridPixels(6));
    EXPECT_EQ(grid.At(64 + 63, 128), GradientTilePixel(17, 15, 0));
    EXPECT_EQ(grid.At(0, 0), GradientTilePixel(0, 0, 0));
    EXPECT_EQ(grid.At(511, 511), GradientTilePixel(250, 15, 15));
}

TEST(StampBuilder, PaintsHiddenCellsPicksAndIgnoresCellsOutside) {
    EditorState state;
    StampBuilderModel builder = OpenStampBuilder(state, GradientPalette());
    EXPECT_TRUE(PickBuilderTile(state, builder, 40, 20));
    EXPECT_FALSE(PickBuilderTile(state, builder, 0, 300)); // no tile 288
    EXPECT_EQ(std::tuple(state.StampBuilderTile, builder.Marker.column), std::tuple(18, 2));

    // Column 7 is hidden at size 2 but still written; nothing lies past it.
    for (double x : {7 * 64 + 63.0, 512.0, -0.5}) {
        EXPECT_TRUE(PressStampGrid(state, LeftButton, x, 64));
    }
    StampCells expected{};
    StampCell(expected, 7, 1) = 18;
    EXPECT_EQ(state.StampBuilderData, expected);

    // The right button takes a cell's tile; the marker stays.
    EXPECT_FALSE(PressStampGrid(state, RightButton, 7 * 64, 64 + 10));
    StampCell(state.StampBuilderData, 7, 1) = 37;
    EXPECT_FALSE(PressStampGrid(state, RightButton, 7 * 64, 64 + 10));
    EXPECT_EQ(std::tuple(state.StampBuilderTile, builder.Marker.tile), std::tuple(37, 18));
    EXPECT_FALSE(PressStampGrid(state, LeftButton | RightButton, 0, 0));
    EXPECT_EQ(StampCell(state.StampBuilderData, 0, 0), 0);
}

TEST(StampBuilder, OkKeepsTheEditsAndCancelDropsThem) {
    EditorState state;
    StampCell(state.StampData, 0, 0) = 5;
    for (bool ok : {false, true}) {
        StampBuilderModel builder = OpenStampBuilder(state, Surface{});
        EXPECT_EQ(std::tuple(StampCell(state.StampBuilderData, 0, 0), builder.SizeIndexX),
                  std::tuple(5, 0)); // a cancelled edit leaves nothing behind
        state.StampBuilderTile = 9;
        PressStampGrid(state, LeftButton, 0, 0);
        builder.SizeIndexX = 2;
        builder.SizeIndexY = 1;
        if (ok) {
            AcceptStampBuilder(state, builder);
        }
    }
    EXPECT_EQ(StampCell(state.StampData, 0, 0), 9);
    EXPECT_EQ(std::tuple(StampWidth(state), StampHeight(state)), std::tuple(4, 3));
}
