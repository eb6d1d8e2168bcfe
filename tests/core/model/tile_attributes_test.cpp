#include "core/model/tile_attributes.h"
#include "core/render/palette_build.h"
#include "core/render/tile_drawing.h"
#include "core/view_fixtures.h"
#include "support/refusal.h"

#include <gtest/gtest.h>

using namespace tessra;

TEST(TileAttributes, SavesAndReadsBack) {
    TileAttributeTable table;
    table[0] = {15, true, true, true, 255};
    table[7] = {3, false, false, true, 0};
    table[255] = {0, false, false, false, 1};
    const std::string bytes = WriteTileAttributesBytes(table);
    EXPECT_NE(bytes.find("{\"tile\": 7, \"palette\": 3, \"priority\": 0, \"hflip\": 0, "
                         "\"vflip\": 1, \"behaviour\": 0}"),
              std::string::npos)
        << bytes;
    const auto read = ParseTileAttributes(bytes, "level.attributes.json");
    ASSERT_TRUE(read.ok()) << read.message();
    EXPECT_EQ(read.value(), table);
    EXPECT_EQ(ParseTileAttributes(WriteTileAttributesBytes({}), "x").value(), TileAttributeTable{});

    // Keys left out are zeros, as are tiles left out; flags may be true or false.
    const auto sparse = ParseTileAttributes(
        R"({"tiles": [{"tile": 9, "behaviour": 4, "hflip": true, "vflip": false}]})", "x");
    ASSERT_TRUE(sparse.ok()) << sparse.message();
    TileAttributeTable expected;
    expected[9] = {0, false, true, false, 4};
    EXPECT_EQ(sparse.value(), expected);
    EXPECT_EQ(ParseTileAttributes("{}", "x").value(), TileAttributeTable{});
    EXPECT_EQ(TileAttributesPath("maps/level.tessra"), "maps/level.attributes.json");
}

TEST(TileAttributes, RefusesDamagedFiles) {
    const std::pair<std::string, const char*> cases[] = {
        {"", "it is not JSON"},
        {"{\"tiles\": [\n{\"tile\": 1},,]}", "line 2"},
        {"{\"tile\": []}", "\"tile\" is not a key of the file"},
        {"{\"tiles\": {}}", "\"tiles\" must be a list"},
        {"{\"tiles\": [3]}", "entry 1 of \"tiles\" must be an object"},
        {"{\"tiles\": [{\"tile\": 1, \"pallete\": 2}]}",
         "\"pallete\" is not an attribute; the keys are tile, palette"},
        {"{\"tiles\": [{\"palette\": 2}]}", "entry 1 of \"tiles\" has no \"tile\""},
        {"{\"tiles\": [{\"tile\": 256}]}",
         "\"tile\" must be a whole number from 0 to 255, not 256"},
        {"{\"tiles\": [{\"tile\": -1}]}", "not -1"},
        {"{\"tiles\": [{\"tile\": 1, \"palette\": 16}]}", "from 0 to 15, not 16"},
        {"{\"tiles\": [{\"tile\": 1, \"hflip\": 2}]}", "\"hflip\" must be 0 or 1, not 2"},
        {"{\"tiles\": [{\"tile\": 1, \"vflip\": [[[1]]]}]}", "not a list"},
        {"{\"tiles\": [{\"tile\": 4}, {\"tile\": 5}, {\"tile\": 4}]}",
         "entry 3 of \"tiles\" lists tile 4, which entry 1 lists already"},
        {"{\"tiles\": [{\"tile\": 1e999}]}", "a number too large to read"},
        {"{\"tiles\": [{\"tile\": 1, \"palette\": 2, \"palette\": 3}]}",
         "the key \"palette\" appears twice in one object"},
        {std::string(TileAttributesMaxSize + 1, ' '), "larger than 256 KiB"},
    };
    for (const auto& [bytes, message] : cases) {
        const auto result = ParseTileAttributes(bytes, "maps/level.attributes.json");
        EXPECT_TRUE(Refused(result, message));
        EXPECT_EQ(result.message().rfind(
                      "Cannot read the tile attributes maps/level.attributes.json: ", 0),
                  0u);
    }
}

TEST(TileDrawing, FlipsMirrorInsideTheSquareAndQuartersFollowTheNumbering) {
    const Surface palette = GradientPalette();
    TileAttributeTable attributes;
    attributes[1].Hflip = attributes[16].Vflip = true;
    attributes[17].Hflip = attributes[17].Vflip = true;
    const Surface flipped = FlippedPalette(palette, attributes);
    // Pixel (3, 5) of tiles 0, 1, 16 and 17 reads (3, 5), (12, 5), (3, 10) and (12, 10).
    EXPECT_EQ(flipped.At(3, 5), Rgb(3, 5, 1));
    EXPECT_EQ(flipped.At(16 + 3, 5), Rgb(16 + 12, 5, 1));
    EXPECT_EQ(flipped.At(3, 16 + 5), Rgb(3, 16 + 10, 1));
    EXPECT_EQ(flipped.At(16 + 3, 16 + 5), Rgb(16 + 12, 16 + 10, 1));
    Surface small(8, 8); // clipped at the target, black past the source
    DrawTileFlipped(small, -8, 0, palette, 248, 0, true, false);
    EXPECT_EQ(small.At(0, 0), Rgb(255, 0, 1));
    DrawTileFlipped(small, 0, 0, palette, 250, 0, true, false);
    EXPECT_EQ(small.At(0, 0), Black);

    // 8 x 8 tile k sits at (8 (k mod 16), 8 (k div 16)) and is quarter k mod 4 of tile k div 4.
    const Surface quarters = MetatilePalette(palette);
    ASSERT_EQ(quarters.Width(), 128);
    ASSERT_EQ(quarters.Height(), 512);
    const std::pair<int, std::pair<int, int>> cases[] = {
        {1, {8, 0}}, {2, {0, 8}}, {4, {16, 0}}, {4 * 17 + 3, {24, 24}}, {1023, {248, 248}},
    };
    for (const auto& [k, from] : cases) {
        EXPECT_EQ(quarters.At(8 * (k % 16) + 1, 8 * (k / 16) + 2),
                  Rgb(from.first + 1, from.second + 2, 1))
            << k;
    }
}
