// The map export: layouts, formats and refusals, plain and in each console's entries.
#include "core/export/gba_compression.h"
#include "core/formats/dat_file.h"
#include "export_fixtures.h"
#include "support/refusal.h"

#include <tuple>

using namespace tessra;

namespace {

// Cell (x, y) holds 16 y + x in the top-left 16 x 16 cells, so a byte names its cell.
MapGrid NumberedMap() {
    MapGrid map;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            map(x, y) = static_cast<std::uint8_t>(16 * y + x);
        }
    }
    map(255, 255) = 0xFF;
    return map;
}

Result<Outputs> Export(const Settings& texts, std::string_view output = "map.bin") {
    return Export(NumberedMap(), {}, texts, nullptr, output);
}

std::string AsText(const Bytes& bytes) {
    return {bytes.begin(), bytes.end()};
}

// Palette p, and P for priority, H for hflip, V for vflip.
TileAttributes A(int palette, std::string_view flags = "") {
    const auto has = [&](char c) { return flags.find(c) != std::string_view::npos; };
    return {static_cast<std::uint8_t>(palette), has('P'), has('H'), has('V'), 0};
}

} // namespace

TEST(MapExport, DefaultsWriteWhatMapGenerationWrites) {
    const auto result = Export({});
    ASSERT_TRUE(result.ok()) << result.message();
    EXPECT_EQ(result.value().map, WriteMapFileBytes(NumberedMap(), 256, 256));
}

TEST(MapExport, GoldenBytes) {
    const std::pair<Settings, Bytes> cases[] = {
        {{{"region", "1,2,3,2"}}, {0x21, 0x22, 0x23, 0x31, 0x32, 0x33}},
        {{{"region", "1,2,3,2"}, {"order", "columns"}}, {0x21, 0x31, 0x22, 0x32, 0x23, 0x33}},
        // Two screens of 2 x 2 side by side, then the two below them.
        {{{"region", "0,0,4,4"}, {"screen", "2,2"}},
         {0x00, 0x01, 0x10, 0x11, 0x02, 0x03, 0x12, 0x13, 0x20, 0x21, 0x30, 0x31, 0x22, 0x23, 0x32,
          0x33}},
        {{{"region", "0,0,4,4"}, {"screen", "2,2"}, {"order", "columns"}},
         {0x00, 0x10, 0x01, 0x11, 0x02, 0x12, 0x03, 0x13, 0x20, 0x30, 0x21, 0x31, 0x22, 0x32, 0x23,
          0x33}},
        {{{"region", "0,0,4,2"}, {"screen", "4,1"}, {"order", "columns"}},
         {0x00, 0x01, 0x02, 0x03, 0x10, 0x11, 0x12, 0x13}},
        {{{"region", "14,0,2,1"}, {"offset", "-14"}}, {0x00, 0x01}},
        {{{"region", "14,0,2,1"}, {"entry", "u16le"}, {"offset", "256"}}, {0x0E, 0x01, 0x0F, 0x01}},
        {{{"region", "14,0,2,1"}, {"entry", "u16be"}, {"offset", "65280"}},
         {0xFF, 0x0E, 0xFF, 0x0F}},
        {{{"region", "255,255,1,1"}, {"entry", "u16be"}}, {0x00, 0xFF}},
    };
    for (const auto& [settings, bytes] : cases) {
        const auto result = Export(settings);
        ASSERT_TRUE(result.ok()) << result.message();
        EXPECT_EQ(result.value().map, bytes) << Make(settings).Region.X;
        EXPECT_EQ(result.value().dataSize, bytes.size());
    }
}

TEST(MapExport, CsvLinesFollowTheScreens) {
    const std::pair<Settings, std::string> cases[] = {
        {{{"region", "0,0,3,2"}}, "0,1,2\n16,17,18\n"},
        {{{"region", "0,0,3,2"}, {"order", "columns"}}, "0,16\n1,17\n2,18\n"},
        {{{"region", "0,0,4,1"}, {"screen", "2,1"}, {"offset", "1000"}, {"entry", "u16le"}},
         "1000,1001\n1002,1003\n"},
    };
    for (const auto& [settings, text] : cases) {
        auto withCsv = settings;
        withCsv.push_back({"format", "csv"});
        const auto result = Export(withCsv);
        ASSERT_TRUE(result.ok()) << result.message();
        EXPECT_EQ(AsText(result.value().map), text);
    }
}

TEST(MapExport, CompressedCSourceAndHeader) {
    const auto result = ExportMap(
        NumberedMap(), {}, Make({{"region", "0,0,2,2"}, {"compress", "rle"}, {"format", "c"}}),
        "out/level-1.h");
    ASSERT_TRUE(result.ok()) << result.message();
    const auto& files = result.value().Files;
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(files[0].Path, "out/level-1.c");
    EXPECT_EQ(files[1].Path, "out/level-1.h");
    const std::string comment = "/* Exported by TESSRA: region 0,0,2,2, screen 2,2, order rows, "
                                "offset 0, entry u8, compress rle (4 bytes unpacked) */\n";
    EXPECT_EQ(files[0].Bytes, comment + "#include \"level-1.h\"\n\n"
                                        "#if defined(__GNUC__)\n__attribute__((aligned(4)))\n"
                                        "#endif\nconst unsigned char level_1[] = {\n"
                                        "    0x30, 0x04, 0x00, 0x00, 0x03, 0x00, 0x01, 0x10, "
                                        "0x11, 0x00, 0x00, 0x00,\n};\n");
    EXPECT_EQ(files[1].Bytes, comment +
                                  "#ifndef level_1_INCLUDED\n#define level_1_INCLUDED\n\n"
                                  "#define level_1_WIDTH 2\n#define level_1_HEIGHT 2\n"
                                  "#define level_1_SIZE 12\n\n"
                                  "extern const unsigned char level_1[level_1_SIZE];\n\n#endif\n");
}

// Each setting alone, both sides of its limits: a refusal names the value and
// leaves the settings as they were.
TEST(MapExport, RefusesBadSettingsNamingTheValues) {
    const std::tuple<const char*, std::string, const char*> texts[] = {
        {"region", "0,0,257,1", "The region setting must be X,Y,W,H"},
        {"region", "255,0,2,1", "X + W and Y + H at most 256"},
        {"region", "0,0,0,1", "W and H at least 1"},
        {"region", "0,0,1", "not \"0,0,1\""},
        {"region", "0,0,1,1,1", "not \"0,0,1,1,1\""},
        {"region", "-1,0,1,1", "X,Y,W,H"},
        {"region", "0,-1,1,1", "X,Y,W,H"},
        {"region", "0,0,256,256", nullptr},
        {"region", "255,255,1,1", nullptr},
        {"screen", "0,2", "each from 1 to 512"},
        {"screen", "513,1", "each from 1 to 512"},
        {"screen", "512,512", nullptr},
        {"screen", "2,x", "The screen setting must be W,H"},
        {"order", "Rows", "must be rows or columns, not \"Rows\""},
        {"offset", "65536", "from -65535 to 65535"},
        {"offset", "-65536", "from -65535 to 65535"},
        {"offset", "65535", nullptr},
        {"offset", "-65535", nullptr},
        {"offset", "1.5", "a whole number"},
        {"tile-base", "2047", nullptr},
        {"tile-base", "2048", "The tile-base setting must be a whole number from 0 to 2047"},
        {"entry", "u32", "must be u8, u16le or u16be"},
        {"compress", "zip", "must be none, rle or lz77"},
        {"format", "bin", "must be raw, c, asm or csv"},
        {"syntax", "nasm", "must be ca65, rgbds, sdas or gas"},
        {"name", "1st", "must be a C identifier"},
        {"name", std::string(41, 'a'), "at most 40 characters"},
        {"name", std::string(40, 'a'), nullptr},
        {"colour", "red", "There is no export setting \"colour\""},
        {"bpp", "16", "must be 2, 4 or 8 (or empty"},
        {"hardware", "snes2", "must be none, snes, gba, md, gbc, nes or gb"},
        {"numbering", "tiles", "image, metatile or unique (or empty for the hardware's own)"},
        {"backdrop", "1020", "six hexadecimal digits, RRGGBB"},
    };
    for (const auto& [name, text, message] : texts) {
        ExportSettings settings;
        const Status set = SetExportSetting(settings, name, text);
        if (!message) {
            EXPECT_TRUE(set.ok()) << name << ' ' << text << ": " << set.message();
            continue;
        }
        EXPECT_TRUE(Refused(set, message)) << name << ' ' << text;
        EXPECT_EQ(settings, ExportSettings{}) << name;
    }

    const struct {
        Settings settings;
        const char* message;
        std::string output = "level.bin";
    } combinations[] = {
        {{{"region", "0,0,30,30"}, {"screen", "32,30"}},
         "The screen setting 32,30 does not divide the region 30 x 30"},
        {{{"format", "csv"}, {"compress", "lz77"}}, "must be none with the csv format"},
        {{{"format", "c"}, {"name", "int"}}, "\"int\" is a keyword of C"},
        {{{"format", "asm"}, {"name", "LDA"}}, "a register or instruction of ca65"},
        {{{"format", "asm"}, {"syntax", "rgbds"}, {"name", "Section"}}, "a keyword of rgbasm"},
        {{{"region", "14,15,2,1"}, {"offset", "10"}},
         "u8 holds 0 to 255, but cell (14, 15) gives 264 (tile 254 + offset 10)"},
        {{{"region", "0,0,2,2"}, {"offset", "-17"}, {"entry", "u16le"}},
         "holds 0 to 65535, but cell (0, 0) gives -17"},
        {{{"format", "c"}}, "cannot hold a double quote or a line break", "out/a\"b.c"},
        {{{"format", "c"}}, "cannot hold a double quote or a line break", "out/a\nb.c"},
    };
    for (const auto& c : combinations) {
        EXPECT_TRUE(Refused(Export(c.settings, c.output), c.message));
    }
}

TEST(MapExport, NamesComeFromTheOutputFile) {
    const std::pair<const char*, const char*> cases[] = {
        {"maps/level-1.c", "level_1"}, {"1-1.s", "map_1_1"}, {"/tmp/.c", "_c"}, {"-", "map"},
        {"int.c", "int_map"},          {"a.b.inc", "a_b"},
    };
    for (const auto& [path, name] : cases) {
        ExportSettings settings;
        settings.Format = ExportFormat::C;
        EXPECT_EQ(EffectiveExportName(settings, path), name) << path;
    }
    ExportSettings ca65;
    ca65.Format = ExportFormat::Asm;
    EXPECT_EQ(EffectiveExportName(ca65, "x.s"), "x_map");
    ca65.Name = "given";
    EXPECT_EQ(EffectiveExportName(ca65, "x.s"), "given");
}

// The behaviour byte of each cell's tile takes the tile number's place, through the other settings.
TEST(MapExport, BehaviourMapThroughEverySetting) {
    TileAttributeTable attributes;
    for (int tile = 0; tile < TileCount; ++tile) {
        attributes[tile].Behaviour = static_cast<std::uint8_t>(tile % 16 == 1 ? 200 : tile / 16);
    }
    const std::pair<Settings, Bytes> cases[] = {
        {{{"region", "0,1,2,2"}, {"order", "columns"}, {"offset", "10"}}, {11, 12, 210, 210}},
        {{{"region", "0,1,2,1"}, {"entry", "u16be"}, {"offset", "100"}}, {0, 101, 1, 44}},
    };
    for (const auto& [texts, bytes] : cases) {
        auto settings = texts;
        settings.push_back({"behaviour", "true"});
        const auto result = Export(NumberedMap(), attributes, settings);
        ASSERT_TRUE(result.ok()) << result.message();
        EXPECT_EQ(result.value().map, bytes);
    }
    EXPECT_TRUE(Refused(Export(NumberedMap(), attributes,
                               {{"region", "0,1,2,1"}, {"behaviour", "true"}, {"offset", "56"}}),
                        "cell (1, 1) gives 256 (behaviour 200 of tile 17 + offset 56)"));
}

// Tile 0 in one cell: quarters 0, 1 / 32, 33 in numbering image, 0, 1 / 2, 3 in
// metatile. Each field alone, then all together; a flip trades quarters.
TEST(HardwareMap, EntriesBitByBit) {
    struct Case {
        const char* hardware;
        TileAttributes attributes;
        int tileBase;
        std::array<std::uint16_t, 4> entries; // gbc: the attribute byte high
    };
    const Case cases[] = {
        // snes: tile 0-9, palette 10-12, priority 13, hflip 14, vflip 15
        {"snes", A(0), 512, {0x0200, 0x0201, 0x0220, 0x0221}},
        {"snes", A(7), 0, {0x1C00, 0x1C01, 0x1C20, 0x1C21}},
        {"snes", A(0, "P"), 0, {0x2000, 0x2001, 0x2020, 0x2021}},
        {"snes", A(0, "H"), 0, {0x4001, 0x4000, 0x4021, 0x4020}},
        {"snes", A(0, "V"), 0, {0x8020, 0x8021, 0x8000, 0x8001}},
        {"snes", A(7, "PHV"), 512, {0xFE21, 0xFE20, 0xFE01, 0xFE00}},
        // gba: tile 0-9, hflip 10, vflip 11, palette 12-15; no priority in the map
        {"gba", A(0), 512, {0x0200, 0x0201, 0x0220, 0x0221}},
        {"gba", A(0, "H"), 0, {0x0401, 0x0400, 0x0421, 0x0420}},
        {"gba", A(0, "V"), 0, {0x0820, 0x0821, 0x0800, 0x0801}},
        {"gba", A(15, "P"), 0, {0xF000, 0xF001, 0xF020, 0xF021}},
        {"gba", A(15, "PHV"), 512, {0xFE21, 0xFE20, 0xFE01, 0xFE00}},
        // md, high byte first: tile 0-10, hflip 11, vflip 12, palette 13-14, priority 15
        {"md", A(0), 1024, {0x0400, 0x0401, 0x0420, 0x0421}},
        {"md", A(0, "H"), 0, {0x0801, 0x0800, 0x0821, 0x0820}},
        {"md", A(0, "V"), 0, {0x1020, 0x1021, 0x1000, 0x1001}},
        {"md", A(3), 0, {0x6000, 0x6001, 0x6020, 0x6021}},
        {"md", A(0, "P"), 0, {0x8000, 0x8001, 0x8020, 0x8021}},
        {"md", A(3, "PHV"), 1024, {0xFC21, 0xFC20, 0xFC01, 0xFC00}},
        // gbc, tile map then attribute map: palette 0-2, VRAM bank 3 (tiles
        // 256..511, stored less 256), hflip 5, vflip 6, priority 7
        {"gbc", A(0), 253, {0x00FD, 0x00FE, 0x00FF, 0x0800}},
        {"gbc", A(7), 0, {0x0700, 0x0701, 0x0702, 0x0703}},
        {"gbc", A(0, "H"), 0, {0x2001, 0x2000, 0x2003, 0x2002}},
        {"gbc", A(0, "V"), 0, {0x4002, 0x4003, 0x4000, 0x4001}},
        {"gbc", A(0, "P"), 0, {0x8000, 0x8001, 0x8002, 0x8003}},
        {"gbc", A(7, "PHV"), 256, {0xEF03, 0xEF02, 0xEF01, 0xEF00}},
    };
    for (const Case& c : cases) {
        const std::string hardware = c.hardware;
        Bytes expected(8);
        for (std::size_t i = 0; i < 4; ++i) {
            const auto low = static_cast<std::uint8_t>(c.entries[i]);
            const auto high = static_cast<std::uint8_t>(c.entries[i] >> 8);
            if (hardware == "gbc") {
                expected[i] = low, expected[4 + i] = high;
            } else {
                expected[2 * i] = hardware == "md" ? high : low;
                expected[2 * i + 1] = hardware == "md" ? low : high;
            }
        }
        TileAttributeTable attributes;
        attributes[0] = c.attributes;
        const auto bytes = Export(MapGrid{}, attributes,
                                  {{"region", "0,0,1,1"},
                                   {"hardware", hardware},
                                   {"tile-base", std::to_string(c.tileBase)}});
        ASSERT_TRUE(bytes.ok()) << bytes.message();
        EXPECT_EQ(bytes.value().map, expected) << hardware << " entry " << std::hex << c.entries[0];
    }
}

// With a hardware, screen and order count 8 x 8 tiles; the Game Boy Color's two
// maps are two arrays, each compressed alone (the toolchain tests build them).
TEST(HardwareMap, ScreensOrderAndSplitArrays) {
    MapGrid map;
    map(1, 0) = 17; // 66, 67 / 98, 99 in numbering image; 68..71 in metatile
    const std::pair<Settings, std::string> cases[] = {
        {{{"region", "0,0,2,1"}, {"screen", "2,2"}, {"order", "columns"}},
         "0,32\n1,33\n66,98\n67,99\n"},
        {{{"region", "1,0,1,1"}, {"numbering", "metatile"}, {"tile-base", "1"}}, "69,70\n71,72\n"},
    };
    for (auto [settings, csv] : cases) {
        settings.insert(settings.end(), {{"hardware", "snes"}, {"format", "csv"}});
        const auto bytes = Export(map, {}, settings);
        ASSERT_TRUE(bytes.ok()) << bytes.message();
        EXPECT_EQ(AsText(bytes.value().map), csv);
    }

    map(1, 0) = 64; // 8 x 8 tiles 256..259: bank 1
    const auto raw =
        Export(map, {}, {{"region", "0,0,2,1"}, {"hardware", "gbc"}, {"compress", "rle"}});
    ASSERT_TRUE(raw.ok() && raw.value().map.size() == 32u);
    EXPECT_EQ(DecompressGbaRle(std::span(raw.value().map).first(16)).value(),
              (Bytes{0, 1, 0, 1, 2, 3, 2, 3}));
    EXPECT_EQ(DecompressGbaRle(std::span(raw.value().map).subspan(16)).value(),
              (Bytes{0, 0, 8, 8, 0, 0, 8, 8}));
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
    map(0, 0) = 1;  // tile bytes 4, 5 / 6, 7; attribute byte 0, top-left
    map(2, 12) = 3; // attribute byte 6 * 8 + 1, top-left
    map(3, 13) = 1; // the same byte, bottom-right
    map(0, 14) = 1; // the last row: byte 56, top-left
    map(1, 14) = 2; // and top-right
    map(16, 0) = 2; // the second screen's first byte
    Bytes table(64), second(64);
    table[0] = 1, table[49] = 3 | 1 << 6, table[56] = 1 | 2 << 2, second[0] = 2;
    const auto rows = Export(map, attributes, {{"region", "0,0,32,15"}, {"hardware", "nes"}});
    const auto columns = Export(
        map, attributes, {{"region", "0,0,32,15"}, {"hardware", "nes"}, {"order", "columns"}});
    ASSERT_TRUE(rows.ok() && columns.ok()) << rows.message() << columns.message();
    const Bytes& b = rows.value().map;
    const Bytes& down = columns.value().map;
    ASSERT_EQ(b.size(), 2u * 1024);
    EXPECT_EQ((Bytes{b[0], b[1], b[32], b[33], b[28 * 32], b[1024]}), (Bytes{4, 5, 6, 7, 4, 8}));
    EXPECT_EQ((Bytes{down[0], down[1], down[30], down[31], down[28]}), (Bytes{4, 6, 5, 7, 4}));
    for (const Bytes* bytes : {&b, &down}) {
        EXPECT_EQ(Bytes(bytes->begin() + 960, bytes->begin() + 1024), table);
        EXPECT_EQ(Bytes(bytes->begin() + 1024 + 960, bytes->end()), second);
    }
}

TEST(HardwareMap, RefusesWhatTheConsoleCannotHold) {
    TileAttributeTable attributes;
    attributes[1] = A(8), attributes[2] = A(4), attributes[3] = A(0, "H"),
    attributes[4] = A(0, "V");
    MapGrid map;
    map(9, 0) = 1, map(5, 3) = 2, map(1, 20) = 3, map(2, 20) = 4;
    const std::pair<Settings, const char*> cases[] = {
        {{{"hardware", "snes"}, {"region", "0,0,10,1"}},
         "Cell (9, 0), tile 1, has palette 8, but the snes map holds palettes 0 to 7; change the "
         "palette in tile 1's attributes."},
        {{{"hardware", "md"}, {"region", "5,0,5,5"}}, "Cell (9, 0), tile 1, has palette 8"},
        {{{"hardware", "md"}, {"region", "5,1,5,5"}},
         "Cell (5, 3), tile 2, has palette 4, but the md map holds palettes 0 to 3"},
        {{{"hardware", "gba"}, {"region", "0,0,1,1"}, {"tile-base", "1023"}},
         "Cell (0, 0), tile 0, gives 8 x 8 tile 1024 in its top-right quarter (numbering image, "
         "tile-base 1023), but the gba map holds tiles 0 to 1023."},
        {{{"hardware", "gbc"}, {"region", "0,0,1,1"}, {"tile-base", "509"}},
         "gives 8 x 8 tile 512 in its bottom-right quarter (numbering metatile"},
        {{{"hardware", "nes"}, {"region", "0,0,16,15"}, {"tile-base", "253"}},
         "gives 8 x 8 tile 256 in its bottom-right quarter"},
        {{{"hardware", "nes"}, {"region", "0,15,16,15"}},
         "Cell (1, 20), tile 3, is flipped, but the nes map has no flip bits; clear hflip and "
         "vflip in tile 3"},
        {{{"hardware", "nes"}, {"region", "2,15,16,15"}}, "Cell (2, 20), tile 4, is flipped"},
        // Settings that the hardware, or its absence, leaves without effect.
        {{{"hardware", "snes"}, {"offset", "1"}}, "offset setting must be 0 with hardware snes"},
        {{{"hardware", "md"}, {"entry", "u16be"}},
         "entry setting must be left at u8 with hardware md"},
        {{{"hardware", "gba"}, {"behaviour", "true"}}, "cannot go with hardware gba"},
        {{{"hardware", "gbc"}, {"format", "csv"}}, "must be raw, c or asm with hardware gbc"},
        {{{"hardware", "nes"}, {"region", "0,0,16,15"}, {"format", "csv"}},
         "must be raw, c or asm with hardware nes"},
        {{{"tile-base", "4"}}, "The tile-base setting counts 8 x 8 tiles and needs a hardware"},
        {{{"hardware", "nes"}, {"region", "0,0,16,15"}, {"screen", "16,15"}},
         "must be 32,30 (or empty) with hardware nes"},
        {{{"hardware", "nes"}, {"region", "0,0,16,16"}},
         "The screen setting 32,30 does not divide the region 32 x 32 (8 x 8 tiles"},
        {{{"screen", "512,1"}}, "without a hardware a screen is at most 256,256 cells"},
        // Without tiles, palettes or numbering unique the depth has no part.
        {{{"hardware", "snes"}, {"bpp", "4"}}, "needs tiles, palettes or numbering unique"},
    };
    for (const auto& [settings, message] : cases) {
        EXPECT_TRUE(Refused(Export(map, attributes, settings), message));
    }
}
