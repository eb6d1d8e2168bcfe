#include "core/gba_compression.h"
#include "core/hardware_map.h"
#include "core/map_export.h"

#include <gtest/gtest.h>

using namespace tessra;

namespace {

using Bytes = std::vector<std::uint8_t>;
using Settings = std::vector<std::pair<std::string, std::string>>;

ExportSettings Make(const Settings& texts) {
    ExportSettings settings;
    for (const auto& [name, text] : texts) {
        const Status set = SetExportSetting(settings, name, text);
        EXPECT_TRUE(set.ok()) << set.message();
    }
    return settings;
}

Result<MapExport> Export(const MapGrid& map, const TileAttributeTable& attributes,
                         const Settings& texts, const std::string& output = "level.bin") {
    return ExportMap(map, attributes, Make(texts), output);
}

Bytes BytesOf(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

constexpr TileAttributes Plain{};
constexpr TileAttributes Priority{0, true, false, false, 0};
constexpr TileAttributes Hflip{0, false, true, false, 0};
constexpr TileAttributes Vflip{0, false, false, true, 0};

TileAttributes WithPalette(int palette, TileAttributes a = Plain) {
    a.Palette = static_cast<std::uint8_t>(palette);
    return a;
}

constexpr TileAttributes All(int palette) {
    return {static_cast<std::uint8_t>(palette), true, true, true, 0};
}

// One cell of tile 0 whose quarters are 8 x 8 tiles 0, 1 (top) and 32, 33
// (bottom) in numbering image, 0 to 3 in numbering metatile.
struct EntryCase {
    const char* hardware;
    TileAttributes attributes;
    int tileBase;
    std::array<std::uint32_t, 4> entries; // top-left, top-right, bottom-left, bottom-right
};

Bytes ExportOneCell(const EntryCase& c) {
    TileAttributeTable attributes;
    attributes[0] = c.attributes;
    const auto result = Export(MapGrid{}, attributes,
                               {{"region", "0,0,1,1"},
                                {"hardware", c.hardware},
                                {"tile-base", std::to_string(c.tileBase)}});
    EXPECT_TRUE(result.ok()) << result.message();
    return result.ok() ? BytesOf(result.value().Files.at(0).Bytes) : Bytes{};
}

} // namespace

// Each field set alone, then all together; a flipped tile trades its quarters.
TEST(HardwareMap, SixteenBitEntriesBitByBit) {
    const EntryCase cases[] = {
        // snes: tile 0-9, palette 10-12, priority 13, hflip 14, vflip 15
        {"snes", Plain, 0, {0x0000, 0x0001, 0x0020, 0x0021}},
        {"snes", Plain, 512, {0x0200, 0x0201, 0x0220, 0x0221}},
        {"snes", WithPalette(7), 0, {0x1C00, 0x1C01, 0x1C20, 0x1C21}},
        {"snes", Priority, 0, {0x2000, 0x2001, 0x2020, 0x2021}},
        {"snes", Hflip, 0, {0x4001, 0x4000, 0x4021, 0x4020}},
        {"snes", Vflip, 0, {0x8020, 0x8021, 0x8000, 0x8001}},
        {"snes", All(7), 512, {0xFE21, 0xFE20, 0xFE01, 0xFE00}},
        // gba: tile 0-9, hflip 10, vflip 11, palette 12-15; no priority in the map
        {"gba", Plain, 512, {0x0200, 0x0201, 0x0220, 0x0221}},
        {"gba", Hflip, 0, {0x0401, 0x0400, 0x0421, 0x0420}},
        {"gba", Vflip, 0, {0x0820, 0x0821, 0x0800, 0x0801}},
        {"gba", WithPalette(15), 0, {0xF000, 0xF001, 0xF020, 0xF021}},
        {"gba", Priority, 0, {0x0000, 0x0001, 0x0020, 0x0021}},
        {"gba", All(15), 512, {0xFE21, 0xFE20, 0xFE01, 0xFE00}},
        // md: tile 0-10, hflip 11, vflip 12, palette 13-14, priority 15
        {"md", Plain, 1024, {0x0400, 0x0401, 0x0420, 0x0421}},
        {"md", Hflip, 0, {0x0801, 0x0800, 0x0821, 0x0820}},
        {"md", Vflip, 0, {0x1020, 0x1021, 0x1000, 0x1001}},
        {"md", WithPalette(3), 0, {0x6000, 0x6001, 0x6020, 0x6021}},
        {"md", Priority, 0, {0x8000, 0x8001, 0x8020, 0x8021}},
        {"md", All(3), 1024, {0xFC21, 0xFC20, 0xFC01, 0xFC00}},
    };
    for (const EntryCase& c : cases) {
        const bool bigEndian = std::string(c.hardware) == "md";
        Bytes expected;
        for (const std::uint32_t entry : c.entries) {
            const auto low = static_cast<std::uint8_t>(entry);
            const auto high = static_cast<std::uint8_t>(entry >> 8);
            expected.push_back(bigEndian ? high : low);
            expected.push_back(bigEndian ? low : high);
        }
        EXPECT_EQ(ExportOneCell(c), expected) << c.hardware << " tile-base " << c.tileBase
                                              << " palette " << int{c.attributes.Palette};
    }
}

// The tile map, then the attribute map: palette 0-2, VRAM bank 3 (for tiles
// 256..511, stored less 256), hflip 5, vflip 6, priority 7.
TEST(HardwareMap, GameBoyColorTileAndAttributeMaps) {
    const EntryCase cases[] = {
        {"gbc", Plain, 0, {0x0000, 0x0001, 0x0002, 0x0003}},
        {"gbc", Plain, 256, {0x0800, 0x0801, 0x0802, 0x0803}},
        {"gbc", Plain, 252, {0x00FC, 0x00FD, 0x00FE, 0x00FF}},
        {"gbc", Plain, 253, {0x00FD, 0x00FE, 0x00FF, 0x0800}},
        {"gbc", WithPalette(7), 0, {0x0700, 0x0701, 0x0702, 0x0703}},
        {"gbc", Hflip, 0, {0x2001, 0x2000, 0x2003, 0x2002}},
        {"gbc", Vflip, 0, {0x4002, 0x4003, 0x4000, 0x4001}},
        {"gbc", Priority, 0, {0x8000, 0x8001, 0x8002, 0x8003}},
        {"gbc", All(7), 256, {0xEF03, 0xEF02, 0xEF01, 0xEF00}},
    };
    for (const EntryCase& c : cases) {
        Bytes expected(8);
        for (std::size_t i = 0; i < 4; ++i) {
            expected[i] = static_cast<std::uint8_t>(c.entries[i]);
            expected[4 + i] = static_cast<std::uint8_t>(c.entries[i] >> 8);
        }
        EXPECT_EQ(ExportOneCell(c), expected) << "tile-base " << c.tileBase;
    }

    // In C the two maps are two arrays, each with its size; each is compressed alone.
    MapGrid map;
    map(1, 0) = 64; // 8 x 8 tiles 256..259: bank 1
    const auto c = Export(
        map, {}, {{"region", "0,0,2,1"}, {"hardware", "gbc"}, {"format", "c"}, {"compress", "rle"}},
        "room.c");
    ASSERT_TRUE(c.ok()) << c.message();
    const std::string& header = c.value().Files.at(1).Bytes;
    for (const char* line :
         {"#define room_WIDTH 4\n", "#define room_HEIGHT 2\n", "#define room_SIZE 16\n",
          "#define room_attr_SIZE 16\n", "extern const unsigned char room_attr[room_attr_SIZE];"}) {
        EXPECT_NE(header.find(line), std::string::npos) << line << header;
    }
    const auto raw =
        Export(map, {}, {{"region", "0,0,2,1"}, {"hardware", "gbc"}, {"compress", "rle"}});
    ASSERT_TRUE(raw.ok()) << raw.message();
    const Bytes bytes = BytesOf(raw.value().Files.at(0).Bytes);
    ASSERT_EQ(bytes.size(), 32u);
    const auto tiles = DecompressGbaRle(std::span(bytes).first(16));
    const auto attrs = DecompressGbaRle(std::span(bytes).subspan(16));
    ASSERT_TRUE(tiles.ok() && attrs.ok());
    EXPECT_EQ(tiles.value(), (Bytes{0, 1, 0, 1, 2, 3, 2, 3}));
    EXPECT_EQ(attrs.value(), (Bytes{0, 0, 8, 8, 0, 0, 8, 8}));
}

// Per screen of 32 x 30 tiles: 960 tile bytes, then 64 attribute bytes, each
// covering 2 x 2 cells: top-left in bits 0-1, top-right 2-3, bottom-left 4-5,
// bottom-right 6-7. The last row covers the screen's last cell row only.
TEST(HardwareMap, NesScreensWithTheirAttributeTables) {
    MapGrid map;
    TileAttributeTable attributes;
    for (int t = 1; t <= 3; ++t) {
        attributes[t].Palette = static_cast<std::uint8_t>(t);
    }
    map(0, 0) = 1;  // tile bytes 4, 5 / 6, 7
    map(2, 12) = 3; // attribute byte 6 * 8 + 1, top-left
    map(3, 13) = 1; // the same byte, bottom-right
    map(0, 14) = 1; // the last row: byte 56, top-left
    map(1, 14) = 2; // and top-right
    map(16, 0) = 2; // the second screen's first byte
    const auto result = Export(map, attributes, {{"region", "0,0,32,15"}, {"hardware", "nes"}});
    ASSERT_TRUE(result.ok()) << result.message();
    const Bytes bytes = BytesOf(result.value().Files.at(0).Bytes);
    ASSERT_EQ(bytes.size(), 2u * 1024);
    EXPECT_EQ((Bytes{bytes[0], bytes[1], bytes[32], bytes[33]}), (Bytes{4, 5, 6, 7}));
    EXPECT_EQ(bytes[28 * 32], 4) << "cell (0, 14) starts the screen's 29th tile row";
    Bytes table(64);
    table[0] = 1;
    table[6 * 8 + 1] = 3 | 1 << 6;
    table[56] = 1 | 2 << 2;
    EXPECT_EQ(Bytes(bytes.begin() + 960, bytes.begin() + 1024), table);
    Bytes second(64);
    second[0] = 2;
    EXPECT_EQ(Bytes(bytes.begin() + 1024 + 960, bytes.end()), second);
    EXPECT_EQ(bytes[1024], 8) << "tile 2's top-left quarter";

    // In columns the tile bytes run down the screen; the attribute tables stay as they are.
    const auto columns = Export(
        map, attributes, {{"region", "0,0,32,15"}, {"hardware", "nes"}, {"order", "columns"}});
    ASSERT_TRUE(columns.ok()) << columns.message();
    const Bytes down = BytesOf(columns.value().Files.at(0).Bytes);
    ASSERT_EQ(down.size(), bytes.size());
    EXPECT_EQ((Bytes{down[0], down[1], down[30], down[31], down[28]}), (Bytes{4, 6, 5, 7, 4}));
    for (const std::size_t table : {960u, 1024u + 960u}) {
        EXPECT_TRUE(
            std::equal(down.begin() + table, down.begin() + table + 64, bytes.begin() + table));
    }
}

// With a hardware, screen and order count 8 x 8 tiles, two a cell each way.
TEST(HardwareMap, ScreensAndOrderCountEntries) {
    MapGrid map;
    map(1, 0) = 17; // 8 x 8 tiles 66, 67 / 98, 99 in numbering image; 68..71 in metatile
    const std::pair<Settings, std::vector<std::uint16_t>> cases[] = {
        {{{"region", "0,0,2,1"}, {"screen", "2,2"}, {"order", "columns"}},
         {0, 32, 1, 33, 66, 98, 67, 99}},
        {{{"region", "1,0,1,1"}, {"numbering", "metatile"}, {"tile-base", "1"}}, {69, 70, 71, 72}},
    };
    for (const auto& [texts, entries] : cases) {
        auto settings = texts;
        settings.push_back({"hardware", "snes"});
        settings.push_back({"format", "csv"});
        const auto result = Export(map, {}, settings);
        ASSERT_TRUE(result.ok()) << result.message();
        std::string csv;
        const std::size_t line = 2; // a screen's column, or the cell's row of entries
        for (std::size_t i = 0; i < entries.size(); ++i) {
            csv += std::to_string(entries[i]) + ((i + 1) % line == 0 ? "\n" : ",");
        }
        EXPECT_EQ(result.value().Files.at(0).Bytes, csv);
    }
    EXPECT_EQ(QuarterTileNumber(ExportNumbering::Image, 255, 1, 1), 1023);
    EXPECT_EQ(QuarterTileNumber(ExportNumbering::Metatile, 255, 1, 1), 1023);
}

TEST(HardwareMap, RefusesWhatTheConsoleCannotHold) {
    TileAttributeTable attributes;
    attributes[1] = WithPalette(8);
    attributes[2] = WithPalette(4);
    attributes[3] = Hflip;
    attributes[4] = Vflip;
    attributes[5] = WithPalette(16 - 1);
    MapGrid map;
    map(9, 0) = 1;
    map(5, 3) = 2;
    const std::pair<Settings, const char*> cases[] = {
        {{{"hardware", "snes"}, {"region", "0,0,10,1"}},
         "Cell (9, 0), tile 1, has palette 8, but the snes map holds palettes 0 to 7"},
        {{{"hardware", "md"}, {"region", "5,0,5,5"}},
         "Cell (9, 0), tile 1, has palette 8"}, // reading order: row 0 comes before row 3
        {{{"hardware", "md"}, {"region", "5,1,5,5"}},
         "Cell (5, 3), tile 2, has palette 4, but the md map holds palettes 0 to 3"},
        {{{"hardware", "gba"}, {"region", "0,0,1,1"}, {"tile-base", "1023"}},
         "Cell (0, 0), tile 0, gives 8 x 8 tile 1024 in its top-right quarter (numbering image, "
         "tile-base 1023), but the gba map holds tiles 0 to 1023."},
        {{{"hardware", "gbc"}, {"region", "0,0,1,1"}, {"tile-base", "509"}},
         "gives 8 x 8 tile 512 in its bottom-right quarter (numbering metatile"},
        {{{"hardware", "snes"}, {"region", "0,0,1,1"}, {"tile-base", "2000"}},
         "holds tiles 0 to 1023"},
        {{{"hardware", "nes"}, {"region", "0,0,16,15"}, {"tile-base", "253"}},
         "gives 8 x 8 tile 256 in its bottom-right quarter"},
    };
    for (const auto& [settings, message] : cases) {
        const auto result = Export(map, attributes, settings);
        ASSERT_FALSE(result.ok()) << message;
        EXPECT_NE(result.message().find(message), std::string::npos) << result.message();
    }

    // The NES has four palettes and no flips in its map.
    for (const auto& [tile, message] :
         {std::pair{2, "has palette 4, but the nes map holds palettes 0 to 3"},
          {3, "is flipped, but the nes map has no flip bits; clear hflip and vflip in tile 3"},
          {4, "is flipped"}}) {
        MapGrid nes;
        nes(15, 14) = static_cast<std::uint8_t>(tile);
        const auto result = Export(nes, attributes, {{"hardware", "nes"}, {"region", "0,0,16,15"}});
        ASSERT_FALSE(result.ok()) << message;
        EXPECT_NE(result.message().find("Cell (15, 14), tile " + std::to_string(tile)),
                  std::string::npos);
        EXPECT_NE(result.message().find(message), std::string::npos) << result.message();
    }
}

TEST(HardwareMap, RefusesSettingsThatDoNotApply) {
    const std::pair<Settings, const char*> cases[] = {
        {{{"hardware", "snes"}, {"offset", "1"}}, "offset setting must be 0 with hardware snes"},
        {{{"hardware", "md"}, {"entry", "u16be"}},
         "entry setting must be left at u8 with hardware md"},
        {{{"hardware", "gba"}, {"behaviour", "true"}}, "cannot go with hardware gba"},
        {{{"hardware", "gbc"}, {"format", "csv"}, {"region", "0,0,2,2"}},
         "must be raw, c or asm with hardware gbc"},
        {{{"tile-base", "4"}}, "The tile-base setting counts 8 x 8 tiles and needs a hardware"},
        {{{"numbering", "image"}}, "The numbering setting counts 8 x 8 tiles"},
        {{{"hardware", "nes"}, {"region", "0,0,16,15"}, {"screen", "16,15"}},
         "must be 32,30 (or empty) with hardware nes"},
        {{{"hardware", "nes"}, {"region", "0,0,16,16"}},
         "The screen setting 32,30 does not divide the region 32 x 32 (8 x 8 tiles"},
        {{{"screen", "512,1"}}, "without a hardware a screen is at most 256,256 cells"},
    };
    for (const auto& [settings, message] : cases) {
        const auto result = Export(MapGrid{}, {}, settings);
        ASSERT_FALSE(result.ok()) << message;
        EXPECT_NE(result.message().find(message), std::string::npos) << result.message();
    }
}
