#include "core/convert/level_picture.h"
#include "core/formats/image_encoders.h"
#include "core/render/palette_layout.h"
#include "support/refusal.h"

#include <gtest/gtest.h>

using namespace tessra;

namespace {

// A cell of one colour with a mark at (mx, my), so that mirror images differ.
void PaintCell(Surface& picture, int column, int row, Pixel colour, int mx, int my) {
    for (int y = 0; y < TileSize; ++y) {
        for (int x = 0; x < TileSize; ++x) {
            picture.Set(column * TileSize + x, row * TileSize + y,
                        x == mx && y == my ? White : colour);
        }
    }
}

} // namespace

// Equal cells are one tile, numbered as they first appear row by row; a mirror
// image, and a cell that differs in its last pixel only, are tiles of their own.
TEST(LevelPicture, EqualCellsAreOneTileInFirstAppearanceOrder) {
    Surface picture(4 * TileSize, 2 * TileSize);
    const Pixel red = Rgb(200, 0, 0), blue = Rgb(0, 0, 200);
    PaintCell(picture, 0, 0, red, 1, 2);
    PaintCell(picture, 1, 0, blue, 1, 2);
    PaintCell(picture, 2, 0, red, 1, 2);
    PaintCell(picture, 3, 0, red, 14, 2); // mirrored left to right
    PaintCell(picture, 0, 1, red, 15, 15);
    PaintCell(picture, 1, 1, red, 1, 2);
    PaintCell(picture, 2, 1, red, 15, 15);
    PaintCell(picture, 3, 1, red, 15, 14);

    const Result<LevelCut> cut = CutLevelPicture(picture);
    ASSERT_TRUE(cut.ok()) << cut.message();
    EXPECT_EQ(cut.value().tiles, 5);
    const int expected[2][4] = {{0, 1, 0, 2}, {3, 0, 3, 4}};
    for (int row = 0; row < 2; ++row) {
        for (int column = 0; column < 4; ++column) {
            EXPECT_EQ(cut.value().map(column, row), expected[row][column]) << column << ',' << row;
        }
    }
    int others = 0; // cells past the picture
    for (int i = 0; i < CellCount; ++i) {
        others += cut.value().map.data()[i] != 0;
    }
    EXPECT_EQ(others, 5);
    const Surface& tiles = cut.value().tileset;
    ASSERT_EQ(tiles.Width(), 256);
    ASSERT_EQ(tiles.Height(), 16);
    EXPECT_EQ(tiles.At(TileLeft(2) + 14, 2), White);
    EXPECT_EQ(tiles.At(TileLeft(4) + 15, 14), White);
    EXPECT_EQ(tiles.At(TileLeft(1) + 5, 5), blue);
    EXPECT_EQ(tiles.At(TileLeft(5), 0), Black); // the row's rest
    EXPECT_EQ(DescribeLevelCut(cut.value()), "Cut 64 x 32 pixels into 8 cells: 5 tiles.");
}

// 256 distinct cells fill the map's tile numbers and the tileset's 16 rows;
// one more is refused, naming the count.
TEST(LevelPicture, RefusesMoreDistinctCellsThanTileNumbers) {
    for (const int distinct : {256, 300}) {
        Surface picture(LevelPictureMaxSize, 2 * TileSize);
        for (int cell = 0; cell < 2 * 256; ++cell) {
            const int n = cell % distinct;
            PaintCell(picture, cell % 256, cell / 256, Rgb(n, n >> 8, 7), 0, 0);
        }
        const Result<LevelCut> cut = CutLevelPicture(picture);
        if (distinct == 256) {
            ASSERT_TRUE(cut.ok()) << cut.message();
            EXPECT_EQ(cut.value().tileset.Height(), 256);
            EXPECT_EQ(cut.value().map(255, 1), 255);
        } else {
            EXPECT_TRUE(Refused(cut, "The picture has 300 distinct 16 x 16 cells"));
        }
    }
}

// The size is refused from the header, naming it, before the pixels are read.
TEST(LevelPicture, RefusesSizesThatAreNotWholeCellsOrLargerThanTheMap) {
    const struct {
        int width, height;
        bool fits;
    } sizes[] = {{16, 16, true}, {4096, 4096, true}, {4096, 16, true}, {24, 16, false},
                 {16, 8, false}, {4112, 16, false},  {16, 4112, false}};
    for (const auto& size : sizes) {
        const Status checked = CheckLevelPictureSize(size.width, size.height);
        EXPECT_EQ(checked.ok(), size.fits) << size.width << " x " << size.height;
        if (size.fits) {
            continue;
        }
        // A PNG header of that size over a small picture: only the header can say it.
        std::vector<std::uint8_t> png = EncodePng(Surface(16, 16));
        for (int i = 0; i < 4; ++i) {
            png[16 + i] = static_cast<std::uint8_t>(size.width >> (24 - 8 * i));
            png[20 + i] = static_cast<std::uint8_t>(size.height >> (24 - 8 * i));
        }
        const Result<Surface> decoded = DecodeLevelPicture(png, "level.png");
        const std::string named = "level.png: The picture is " + std::to_string(size.width) +
                                  " x " + std::to_string(size.height) + " pixels";
        EXPECT_TRUE(Refused(decoded, named));
    }
}
