#include "core/formats/tiled/tmx_writer.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
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

// The JSON map keeps one map row a line, as Tiled writes it, not one number a
// line; a JSON reader takes every cell back in order, Tiled's numbers from 1.
TEST(WriteTiledMap, JsonKeepsOneMapRowALine) {
    MapGrid map;
    for (int i = 0; i < CellCount; ++i) {
        map.data()[i] = static_cast<std::uint8_t>(i * 7 % 256);
    }
    const std::string text =
        WriteTiledMap(map, TiledFormat::Tmj, "level \"data\": \"cells\"", "p.png");
    EXPECT_LT(std::count(text.begin(), text.end(), '\n'), MapSize + 60);
    const std::size_t row = text.find("\n    " + std::to_string(map(0, 1) + 1) + ",");
    ASSERT_NE(row, std::string::npos);
    EXPECT_EQ(std::count(text.begin() + row + 1, text.begin() + text.find('\n', row + 1), ','),
              MapSize);
    const nlohmann::json root = nlohmann::json::parse(text);
    const nlohmann::json& data = root["layers"][0]["data"];
    ASSERT_EQ(data.size(), std::size_t(CellCount));
    for (int i = 0; i < CellCount; ++i) {
        ASSERT_EQ(data[i].get<int>(), map.data()[i] + 1) << i;
    }
    EXPECT_EQ(root["layers"][0]["name"], "level \"data\": \"cells\"");
}
