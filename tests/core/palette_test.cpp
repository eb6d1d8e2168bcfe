#include "core/palette.h"

#include <algorithm>
#include <cstdio>
#include <gtest/gtest.h>
#include <tuple>

using namespace tessra;

namespace {

// Tileset files named "WxH" decode to images whose pixel (x, y) is Rgb(i, x, y),
// i being the file's position in the list plus one; other names fail.
std::vector<TilesetFailure> Reload(EditorState& state, Surface& palette) {
    return ReloadTilesets(state, palette, [&](const std::string& path) -> Result<Surface> {
        int width = 0, height = 0;
        if (std::sscanf(path.c_str(), "%dx%d", &width, &height) != 2) {
            return Error{"Cannot open " + path};
        }
        const auto id = std::find(state.Tilesets.begin(), state.Tilesets.end(), path) -
                        state.Tilesets.begin() + 1;
        Surface image(width, height);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                image.Set(x, y, Rgb(static_cast<unsigned>(id), x, y));
            }
        }
        return image;
    });
}

// Palette tile n shows file `index`'s square at (sx, sy), black past the image.
void ExpectTile(const EditorState& state, const Surface& palette, int n, int index, int sx,
                int sy) {
    int width = 0, height = 0;
    std::sscanf(state.Tilesets[index].c_str(), "%dx%d", &width, &height);
    for (int d : {0, 7, 15}) {
        const bool inside = sx + d < width && sy + d < height;
        EXPECT_EQ(palette.At(TileLeft(n) + d, TileTop(n) + d),
                  inside ? Rgb(index + 1, sx + d, sy + d) : Black)
            << "tile " << n << " pixel " << d;
    }
}

} // namespace

TEST(Palette, NumbersTilesAcrossTilesetsRoundingHalfToEven) {
    struct Case {
        std::vector<std::string> files;
        std::vector<std::array<int, 3>> tiles; // file index, sx, sy of tiles 0, 1, ...
    };
    const Case cases[] = {
        {{"16x32", "missing", "48x16"}, {{0, 0, 0}, {0, 0, 16}, {2, 0, 0}, {2, 16, 0}, {2, 32, 0}}},
        {{"8x16", "16x16"}, {{1, 0, 0}}},                         // half a tile rounds to 0
        {{"24x16", "16x16"}, {{0, 0, 0}, {0, 16, 0}, {1, 0, 0}}}, // 1.5 rounds to 2
        {{"40x16", "16x16"}, {{0, 0, 0}, {0, 16, 0}, {1, 0, 0}}}, // 2.5 rounds to 2
        {{"56x16"}, {{0, 0, 0}, {0, 16, 0}, {0, 32, 0}, {0, 48, 0}}},
        {{"24x32"}, {{0, 0, 0}, {0, 16, 0}, {0, 0, 16}, {0, 16, 16}}}, // down at x 32 >= 24
        {{"40x40"}, {{0, 0, 0}, {0, 16, 0}, {0, 32, 0}, {0, 0, 16}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.files[0]);
        EditorState state;
        state.Tilesets = c.files;
        Surface palette;
        const auto failures = Reload(state, palette);
        ASSERT_EQ(palette.Width(), PaletteWidth);
        ASSERT_EQ(palette.Height(), PaletteHeight);
        const int count = static_cast<int>(c.tiles.size());
        for (int n = 0; n < count; ++n) {
            ExpectTile(state, palette, n, c.tiles[n][0], c.tiles[n][1], c.tiles[n][2]);
        }
        EXPECT_EQ(palette.At(TileLeft(count), TileTop(count)), Black);
        EXPECT_EQ(state.PaletteCursorX, 16 * count);
        if (c.files[1] == "missing") {
            ASSERT_EQ(failures.size(), 1u);
            EXPECT_EQ(failures[0].path, "missing");
            EXPECT_EQ(failures[0].message, "Cannot open missing");
        }
    }
}

TEST(Palette, DropsTilesPast255AndRebuildsFromBlack) {
    EditorState state;
    state.Tilesets = {"256x272", "16x16"};
    Surface palette;
    Reload(state, palette);
    ExpectTile(state, palette, 255, 0, 240, 240);
    EXPECT_EQ(state.PaletteCursorY, 256);

    state.Tilesets = {"16x16"};
    Reload(state, palette);
    ExpectTile(state, palette, 0, 0, 0, 0);
    EXPECT_EQ(palette.At(TileLeft(255), TileTop(255)), Black);
}

TEST(Palette, TileAtPalettePoint) {
    struct Case {
        double x, y;
        int column, row, tile;
    };
    const Case cases[] = {
        {1, 1, 0, 0, 0},         {-5, -0.5, 0, 0, 0}, {31.9, 16, 1, 1, 17}, {0, 255.5, 0, 15, 240},
        {255, 255, 15, 15, 255}, {80, 32, 5, 2, 37},  {0, 300, 0, 18, 288},
    };
    for (const Case& c : cases) {
        const PaletteCell cell = TileAtPalettePoint(c.x, c.y);
        EXPECT_EQ(std::tuple(cell.column, cell.row, cell.tile), std::tuple(c.column, c.row, c.tile))
            << c.x << "," << c.y;
    }
}
