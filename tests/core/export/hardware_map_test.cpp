#include "core/export/gba_compression.h"
#include "core/export/map_export.h"
#include "support/refusal.h"

#include <gtest/gtest.h>

using namespace tessra;

namespace {

using Bytes = std::vector<std::uint8_t>;
using Settings = std::vector<std::pair<std::string, std::string>>;

// The bytes of every file the export writes, one after the other.
Result<Bytes> Export(const MapGrid& map, const TileAttributeTable& attributes,
                     const Settings& texts, const std::string& output = "level.bin") {
    ExportSettings settings;
    for (const auto& [name, text] : texts) {
        EXPECT_TRUE(SetExportSetting(settings, name, text).ok()) << name;
    }
    const auto result = ExportMap(map, attributes, settings, output);
    if (!result) {
        return Error{result.message()};
    }
    Bytes bytes;
    for (const ExportFile& file : result.value().Files) {
        bytes.insert(bytes.end(), file.Bytes.begin(), file.Bytes.end());
    }
    return bytes;
}

// Palette p, and P for priority, H for hflip, V for vflip.
TileAttributes A(int palette, std::string_view flags = "") {
    const auto has = [&](char c) { return flags.find(c) != std::string_view::npos; };
    return {static_cast<std::uint8_t>(palette), has('P'), has('H'), has('V'), 0};
}

} // namespace

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
        EXPECT_EQ(bytes.value(), expected) << hardware << " entry " << std::hex << c.entries[0];
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
        EXPECT_EQ(std::string(bytes.value().begin(), bytes.value().end()), csv);
    }

    map(1, 0) = 64; // 8 x 8 tiles 256..259: bank 1
    const auto raw =
        Export(map, {}, {{"region", "0,0,2,1"}, {"hardware", "gbc"}, {"compress", "rle"}});
    ASSERT_TRUE(raw.ok() && raw.value().size() == 32u);
    EXPECT_EQ(DecompressGbaRle(std::span(raw.value()).first(16)).value(),
              (Bytes{0, 1, 0, 1, 2, 3, 2, 3}));
    EXPECT_EQ(DecompressGbaRle(std::span(raw.value()).subspan(16)).value(),
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
    const Bytes& b = rows.value();
    const Bytes& down = columns.value();
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
    };
    for (const auto& [settings, message] : cases) {
        EXPECT_TRUE(Refused(Export(map, attributes, settings), message));
    }
}
