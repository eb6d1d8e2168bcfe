#include "core/render/palette_build.h"
#include "core/view_fixtures.h"

#include <array>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace tessra;

namespace {

// Palette tile n shows tileset `name`'s square at (sx, sy), black past the image.
void ExpectTile(const Surface& palette, int n, const std::string& name, int sx, int sy) {
    int width = 0, height = 0;
    std::sscanf(name.c_str(), "%*c:%dx%d", &width, &height);
    for (int d : {0, 7, 15}) {
        const bool inside = sx + d < width && sy + d < height;
        EXPECT_EQ(palette.At(TileLeft(n) + d, TileTop(n) + d),
                  inside ? Rgb(name[0], sx + d, sy + d) : Black)
            << "tile " << n << " pixel " << d;
    }
}

} // namespace

TEST(Palette, NumbersTilesAcrossTilesetsRoundingHalfToEven) {
    struct Case {
        std::vector<std::string> files;
        std::vector<std::array<int, 3>> tiles; // file index, sx, sy of tiles 0, 1, ...
        std::vector<int> counts;
    };
    const Case cases[] = {
        {{"a:16x32", "missing", "b:48x16"},
         {{0, 0, 0}, {0, 0, 16}, {2, 0, 0}, {2, 16, 0}, {2, 32, 0}},
         {2, 0, 3}},
        {{"a:8x16", "b:16x16"}, {{1, 0, 0}}, {0, 1}},                         // half a tile: 0
        {{"a:40x16", "b:16x16"}, {{0, 0, 0}, {0, 16, 0}, {1, 0, 0}}, {2, 1}}, // 2.5 rounds to 2
        {{"a:24x32"}, {{0, 0, 0}, {0, 16, 0}, {0, 0, 16}, {0, 16, 16}}, {4}}, // 1.5 rounds to 2
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.files[0]);
        EditorState state;
        state.Tilesets = c.files;
        Surface palette;
        const PaletteBuild build = ReloadTilesets(state, palette, LoadSynthetic);
        const auto& failures = build.failures;
        EXPECT_EQ(build.tileCounts, c.counts);
        const int count = static_cast<int>(c.tiles.size());
        for (int n = 0; n < count; ++n) {
            ExpectTile(palette, n, c.files[c.tiles[n][0]], c.tiles[n][1], c.tiles[n][2]);
        }
        EXPECT_EQ(palette.At(TileLeft(count), TileTop(count)), Black);
        EXPECT_EQ(state.PaletteCursorX, 16 * count);
        ASSERT_EQ(failures.size(), c.files.size() == 3 ? 1u : 0u);
        EXPECT_TRUE(failures.empty() || failures[0].path == "missing");
    }
}

// A tileset gone missing keeps the places it held, drawn as missing, so the
// tiles after it keep their numbers; one never held keeps none.
TEST(Palette, MissingTilesetKeepsItsPlaces) {
    EditorState state;
    state.Tilesets = {"a:16x32", "missing", "b:48x16"};
    Surface palette;
    const std::vector<int> held = {2, 3, 3};
    const PaletteBuild build = ReloadTilesets(state, palette, LoadSynthetic, nullptr, held);
    EXPECT_EQ(build.tileCounts, held);
    ASSERT_EQ(build.failures.size(), 1u);
    for (const int n : {2, 3, 4}) {
        EXPECT_EQ(palette.At(TileLeft(n) + 1, TileTop(n)), MissingTilePixel(1, 0)) << n;
        EXPECT_EQ(palette.At(TileLeft(n) + 9, TileTop(n)), MissingTilePixel(9, 0)) << n;
    }
    EXPECT_NE(MissingTilePixel(1, 0), MissingTilePixel(9, 0));
    ExpectTile(palette, 5, "b:48x16", 0, 0);
    EXPECT_EQ(state.PaletteCursorX, 16 * 8);
}

TEST(Palette, DropsTilesPast255AndRebuildsFromBlack) {
    EditorState state;
    state.Tilesets = {"a:256x272", "b:16x16"};
    Surface palette;
    ReloadTilesets(state, palette, LoadSynthetic);
    ExpectTile(palette, 255, "a:256x272", 240, 240);
    EXPECT_EQ(state.PaletteCursorY, 256);

    state.Tilesets = {"b:16x16"};
    ReloadTilesets(state, palette, LoadSynthetic);
    ExpectTile(palette, 0, "b:16x16", 0, 0);
    EXPECT_EQ(palette.At(TileLeft(255), TileTop(255)), Black);
}

// Each file is decoded once, whatever the spelling of its path, and the tiles
// past a full palette are counted; relative paths are taken from the folder.
TEST(Palette, DecodesEachFileOnceAndCountsWhatIsLeftOut) {
    const struct {
        std::vector<std::string> files;
        const char* folder;
        std::vector<std::string> loaded, counted;
        std::vector<int> counts;
        std::string leftOut = "";
    } cases[] = {
        {{"a:16x16", "./a:16x16", "b:16x16", "x/../a:16x16"},
         "",
         {"a:16x16", "b:16x16"},
         {},
         {1, 1, 1, 1}},
        // Once the palette is full, what follows is counted, not decoded.
        {{"a:256x240", "b:16x16", "c:256x16", "d:32x16", "a:256x240"},
         "",
         {"a:256x240", "b:16x16", "c:256x16"},
         {"d:32x16"},
         {240, 1, 16, 2, 240},
         "The palette holds 256 tiles; 243 tiles were left out: 1 from c:256x16, 2 from "
         "d:32x16, 240 from a:256x240."},
        {{"a:16x16", "/abs/b:16x16", "sub\\c:16x16"},
         "/maps",
         {"/maps/a:16x16", "/abs/b:16x16", "/maps/sub/c:16x16"},
         {},
         {0, 0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.files[0]);
        EditorState state;
        state.Tilesets = c.files;
        state.ProjectFolder = c.folder;
        std::vector<std::string> loaded, counted;
        const auto load = [&](const std::string& path) {
            loaded.push_back(path);
            return LoadSynthetic(path);
        };
        const auto count = [&](const std::string& path) -> std::optional<int> {
            counted.push_back(path);
            int width = 0, height = 0;
            std::sscanf(path.c_str(), "%*c:%dx%d", &width, &height);
            return TilesetTileCount(width, height);
        };
        Surface palette;
        const PaletteBuild build = ReloadTilesets(state, palette, load, count);
        EXPECT_EQ(loaded, c.loaded);
        EXPECT_EQ(counted, c.counted);
        EXPECT_EQ(build.tileCounts, c.counts);
        EXPECT_EQ(LeftOutMessage(build.leftOut), c.leftOut);
        EXPECT_EQ(build.failures.size(), c.folder[0] ? 3u : 0u);
    }
}

// The square TileOfPicture names is the one the palette shows for that tile,
// and every tile the palette takes has one square.
TEST(Palette, TileOfPictureAgreesWithThePalette) {
    for (const char* name : {"a:48x32", "a:40x32", "a:24x56", "a:8x16", "a:17x17"}) {
        SCOPED_TRACE(name);
        EditorState state;
        state.Tilesets = {name};
        Surface palette;
        ReloadTilesets(state, palette, LoadSynthetic);
        const int count = state.PaletteCursorX / TileSize;
        const Surface picture = LoadSynthetic(name).value();
        std::vector<int> found(count);
        for (int y = 0; y < 96; y += 16) {
            for (int x = 0; x < 96; x += 16) {
                const auto tile = TileOfPicture(picture.Width(), picture.Height(), x, y);
                if (tile) {
                    ASSERT_LT(*tile, count);
                    ++found[*tile];
                    ExpectTile(palette, *tile, name, x, y);
                }
            }
        }
        EXPECT_EQ(found, std::vector<int>(count, 1));
        EXPECT_FALSE(TileOfPicture(48, 32, 8, 0));
    }
}

TEST(Palette, TileAtPalettePoint) {
    const std::array<double, 3> cases[] = {{-5, -0.5, 0}, {31.9, 16, 17}, {0, 300, 288}};
    for (const auto& [x, y, tile] : cases) {
        EXPECT_EQ(TileAtPalettePoint(x, y).tile, tile) << x << "," << y;
    }
}
