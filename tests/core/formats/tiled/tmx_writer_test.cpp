#include "core/formats/tiled/tmx_writer.h"

#include <gtest/gtest.h>
#include <optional>

using namespace tessra;

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
