#include "core/image_encoders.h"
#include "core/tmx_import.h"
#include "core/tmx_writer.h"

#include <gtest/gtest.h>
#include <random>

using namespace tessra;

// What Tiled reads back of a written map: every cell, through a palette
// picture whose tile n sits where the palette puts it.
TEST(WriteTiledMap, ReadsBackCellForCellInBothFormats) {
    MapGrid map;
    std::mt19937 random(7);
    for (int i = 0; i < CellCount; ++i) {
        map.data()[i] = static_cast<std::uint8_t>(random());
    }
    map(0, 0) = 255;
    map(255, 255) = 0;
    const auto palette = EncodePng(Surface(256, 256));
    const FileReader read = [&](const std::string& path) -> Result<std::vector<std::uint8_t>> {
        if (path != "out/level.tiles.png") {
            return Error{"Cannot read " + path};
        }
        return palette;
    };
    for (const TiledFormat format : {TiledFormat::Tmx, TiledFormat::Tmj}) {
        const std::string text = WriteTiledMap(map, format, "level <&\"\xff>", "level.tiles.png");
        const Result<TiledImport> import = ImportTiledMap(
            std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()),
            "out/level.tmx", read);
        ASSERT_TRUE(import.ok()) << import.message();
        EXPECT_TRUE(import.value().project.MapData == map);
        EXPECT_EQ(import.value().emptyCells + import.value().flippedCells, 0);
        EXPECT_EQ(import.value().tileLayerCount, 1);
    }
}

TEST(WriteTiledMap, FormatAndPictureFollowTheName) {
    const struct {
        const char* name;
        std::optional<TiledFormat> format;
        const char* picture;
    } cases[] = {
        {"maps/level.tmx", TiledFormat::Tmx, "maps/level.tiles.png"},
        {"level.TMJ", TiledFormat::Tmj, "level.tiles.png"},
        {"a.b/level", std::nullopt, "a.b/level.tiles.png"},
        {"level.json", std::nullopt, "level.tiles.png"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TiledFormatOf(c.name), c.format) << c.name;
        EXPECT_EQ(TiledPalettePath(c.name), c.picture) << c.name;
    }
}
