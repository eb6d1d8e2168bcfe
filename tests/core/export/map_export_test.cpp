#include "core/export/map_export.h"
#include "core/formats/dat_file.h"
#include "support/refusal.h"

#include <gtest/gtest.h>
#include <tuple>

using namespace tessra;

namespace {

using Bytes = std::vector<std::uint8_t>;
using Settings = std::vector<std::pair<std::string, std::string>>;

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

ExportSettings Make(const Settings& texts) {
    ExportSettings settings;
    for (const auto& [name, text] : texts) {
        const Status set = SetExportSetting(settings, name, text);
        EXPECT_TRUE(set.ok()) << set.message();
    }
    return settings;
}

Result<MapExport> Export(const Settings& texts, const std::string& output = "level.bin") {
    return ExportMap(NumberedMap(), {}, Make(texts), output);
}

Bytes BytesOf(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

} // namespace

TEST(MapExport, DefaultsWriteWhatMapGenerationWrites) {
    const auto result = Export({});
    ASSERT_TRUE(result.ok()) << result.message();
    EXPECT_EQ(BytesOf(result.value().Files.at(0).Bytes),
              WriteMapFileBytes(NumberedMap(), 256, 256));
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
        EXPECT_EQ(BytesOf(result.value().Files.at(0).Bytes), bytes) << Make(settings).Region.X;
        EXPECT_EQ(result.value().DataSize, bytes.size());
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
        EXPECT_EQ(result.value().Files.at(0).Bytes, text);
    }
}

TEST(MapExport, CompressedCSourceAndHeader) {
    const auto result =
        Export({{"region", "0,0,2,2"}, {"compress", "rle"}, {"format", "c"}}, "out/level-1.h");
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

TEST(MapExport, RefusesBadSettingsNamingTheValues) {
    const std::pair<std::pair<std::string, std::string>, const char*> texts[] = {
        {{"region", "0,0,257,1"}, "The region setting must be X,Y,W,H"},
        {{"region", "255,0,2,1"}, "X + W and Y + H at most 256"},
        {{"region", "0,0,0,1"}, "W and H at least 1"},
        {{"region", "0,0,1"}, "not \"0,0,1\""},
        {{"region", "0,0,1,1,1"}, "not \"0,0,1,1,1\""},
        {{"screen", "0,2"}, "each from 1 to 512"},
        {{"screen", "2,x"}, "The screen setting must be W,H"},
        {{"order", "Rows"}, "must be rows or columns, not \"Rows\""},
        {{"offset", "65536"}, "from -65535 to 65535"},
        {{"offset", "1.5"}, "a whole number"},
        {{"entry", "u32"}, "must be u8, u16le or u16be"},
        {{"compress", "zip"}, "must be none, rle or lz77"},
        {{"format", "bin"}, "must be raw, c, asm or csv"},
        {{"syntax", "nasm"}, "must be ca65, rgbds, sdas or gas"},
        {{"name", "1st"}, "must be a C identifier"},
        {{"name", std::string(41, 'a')}, "at most 40 characters"},
        {{"colour", "red"}, "There is no export setting \"colour\""},
    };
    for (const auto& [setting, message] : texts) {
        ExportSettings settings;
        EXPECT_TRUE(Refused(SetExportSetting(settings, setting.first, setting.second), message));
        EXPECT_EQ(settings, ExportSettings{}) << setting.first;
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

// The largest and smallest values each setting takes, and the first it refuses.
TEST(MapExport, SettingsTakeBothSidesOfEachLimit) {
    const std::tuple<const char*, std::string, bool> cases[] = {
        {"region", "0,0,256,256", true},      {"region", "255,255,1,1", true},
        {"region", "-1,0,1,1", false},        {"region", "0,-1,1,1", false},
        {"region", "1,0,256,1", false},       {"screen", "512,512", true},
        {"screen", "513,1", false},           {"offset", "65535", true},
        {"offset", "-65535", true},           {"offset", "-65536", false},
        {"tile-base", "2047", true},          {"tile-base", "2048", false},
        {"name", std::string(40, 'a'), true}, {"name", std::string(41, 'a'), false},
    };
    for (const auto& [name, text, taken] : cases) {
        ExportSettings settings;
        EXPECT_EQ(SetExportSetting(settings, name, text).ok(), taken) << name << ' ' << text;
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
        const auto result = ExportMap(NumberedMap(), attributes, Make(settings), "level.bin");
        ASSERT_TRUE(result.ok()) << result.message();
        EXPECT_EQ(BytesOf(result.value().Files.at(0).Bytes), bytes);
    }
    EXPECT_TRUE(
        Refused(ExportMap(NumberedMap(), attributes,
                          Make({{"region", "0,1,2,1"}, {"behaviour", "true"}, {"offset", "56"}}),
                          "level.bin"),
                "cell (1, 1) gives 256 (behaviour 200 of tile 17 + offset 56)"));
}
