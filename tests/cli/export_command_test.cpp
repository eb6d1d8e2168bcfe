#include "cli_run.h"
#include "core/formats/image_encoders.h"

using namespace tessra;

namespace {

std::vector<std::string> ExportArgs(std::vector<std::string> args) {
    args.insert(args.begin(), "export");
    return args;
}

CliRun Export(const std::vector<std::string>& args) {
    return RunTool(ExportArgs(args));
}

class ExportCli : public ::testing::Test {
  protected:
    void SetUp() override {
        std::filesystem::create_directory(dir_.File("maps"));
        MapGrid map;
        map(0, 0) = 1, map(1, 0) = 2, map(0, 1) = 3, map(1, 1) = 250;
        WriteText(map_, WriteProjectBytes({}, map));
    }

    TempDir dir_;
    std::string map_ = dir_.File("maps/level.tessra");
    std::string out_ = dir_.File("out.bin");
};

} // namespace

TEST_F(ExportCli, WritesWhatTheOptionsSay) {
    CliRun run = Export({map_, out_, "--region", "0,0,2,2", "--order=columns"});
    ASSERT_EQ(run.status, ExitSuccess) << run.err;
    EXPECT_EQ(run.out, "Exported 4 bytes to " + out_ + ".\n");
    EXPECT_EQ(ReadText(out_), "\x01\x03\x02\xFA");

    run = Export(
        {map_, dir_.File("level.c"), "--format", "c", "--region", "0,0,2,1", "--name", "stage"});
    ASSERT_EQ(run.status, ExitSuccess) << run.err;
    EXPECT_NE(
        ReadText(dir_.File("level.c")).find("const unsigned char stage[] = {\n    0x01, 0x02,"),
        std::string::npos);
    EXPECT_NE(ReadText(dir_.File("level.h")).find("#define stage_SIZE 2\n"), std::string::npos);

    const CliRun list = Export({"--list-formats"});
    EXPECT_EQ(list.status, ExitSuccess);
    for (const char* value : {"raw", "asm", "sdas", "gas", "u16be", "lz77", "columns", "gbc",
                              "metatile", "behaviour"}) {
        EXPECT_NE(list.out.find(value), std::string::npos) << value;
    }
}

TEST_F(ExportCli, ProfileSettingsAndTheCommandLineOverThem) {
    const std::string profile = dir_.File("maps/level.export.json");
    WriteText(profile, R"({"region": "0,0,2,2", "offset": 5, "format": "csv",
                           "output": "build/level.csv", "exportOnSave": true})");
    std::filesystem::create_directory(dir_.File("maps/build"));
    // Without OUT the profile's output, taken from the map's folder.
    CliRun run = Export({map_, "--profile", profile});
    ASSERT_EQ(run.status, ExitSuccess) << run.err;
    EXPECT_EQ(ReadText(dir_.File("maps/build/level.csv")), "6,7\n8,255\n");

    run = Export({map_, out_, "--profile", profile, "--offset", "0", "--format", "raw"});
    ASSERT_EQ(run.status, ExitSuccess) << run.err;
    EXPECT_EQ(ReadText(out_), "\x01\x02\x03\xFA");
}

TEST_F(ExportCli, RefusalsWriteNothing) {
    const std::string profile = dir_.File("bad.export.json");
    WriteText(profile, "{\"compress\": \"zip\"}");
    WriteText(dir_.File("big.json"), std::string(100000, ' '));
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{map_, out_, "--offset", "6"}, "cell (1, 1) gives 256 (tile 250 + offset 6)"},
        // Settings that would have no effect.
        {{map_, out_, "--syntax", "rgbds"}, "The syntax setting chooses the assembler"},
        {{map_, out_, "--format", "csv", "--name", "level"}, "has no part in \"csv\""},
        {{map_, map_}, "it is the same file as the input " + map_},
        {{map_, out_, "--profile", profile}, "bad.export.json: The compress setting"},
        {{map_, out_, "--profile", dir_.File("big.json")},
         "more than 64 KB, the most an export profile may hold"},
        {{map_, out_, "--profile", dir_.File("none.json")}, "none.json: No such file"},
        {{dir_.File("none.tessra"), out_}, "none.tessra"},
    };
    const std::string mapBytes = ReadText(map_);
    for (const auto& [args, message] : cases) {
        ExpectRefused(ExportArgs(args), message, out_);
    }
    EXPECT_EQ(ReadText(map_), mapBytes);

    // A header that cannot be written is found before the source is: neither is.
    std::filesystem::create_directory(dir_.File("level.h"));
    const CliRun half = Export({map_, dir_.File("level.c"), "--format", "c"});
    EXPECT_EQ(half.status, ExitRefused);
    EXPECT_NE(half.err.find("level.h: Is a directory"), std::string::npos) << half.err;
    EXPECT_FALSE(std::filesystem::exists(dir_.File("level.c")));
}

// The tile attributes beside the map, or those named; none at all reads as zeros.
TEST_F(ExportCli, HardwareMapsReadTheTileAttributes) {
    CliRun run = Export({map_, out_, "--region", "0,0,1,1", "--hardware", "gba"});
    ASSERT_EQ(run.status, ExitSuccess) << run.err;
    EXPECT_EQ(ReadText(out_), std::string("\x02\x00\x03\x00\x22\x00\x23\x00", 8));

    const std::string other = dir_.File("other.json"), profile = dir_.File("level.export.json");
    WriteText(dir_.File("maps/level.attributes.json"),
              R"({"tiles": [{"tile": 1, "palette": 2, "hflip": 1, "behaviour": 7}]})");
    WriteText(other, R"({"tiles": [{"tile": 1, "behaviour": 9}]})");
    WriteText(profile, R"({"region": "0,0,1,1", "behaviour": true})");
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{map_, out_, "--region", "0,0,1,1", "--hardware", "gba"},
         std::string("\x03\x24\x02\x24\x23\x24\x22\x24", 8)},
        {{map_, "--region", "0,0,2,1", "--behaviour", out_}, std::string("\x07\x00", 2)},
        {{map_, out_, "--region", "0,0,1,1", "--behaviour", "--attributes", other}, "\x09"},
        {{map_, out_, "--profile", profile}, "\x07"},
        {{map_, out_, "--profile", profile, "--behaviour=false"}, "\x01"},
    };
    for (const auto& [args, bytes] : cases) {
        run = Export(args);
        ASSERT_EQ(run.status, ExitSuccess) << run.err;
        EXPECT_EQ(ReadText(out_), bytes) << args.back();
    }
}

TEST_F(ExportCli, DamagedAttributesWriteNothing) {
    const std::string beside = dir_.File("maps/level.attributes.json");
    WriteText(beside, R"({"tiles": [{"tile": 1, "palette": 99}]})");
    const std::string good = dir_.File("good.json");
    WriteText(good, "{}");
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{map_, out_, "--hardware", "snes"},
         "Cannot read the tile attributes " + beside + ": entry 1 of \"tiles\": \"palette\""},
        {{map_, out_, "--behaviour"}, "Cannot read the tile attributes " + beside},
        {{map_, out_, "--attributes", dir_.File("none.json")}, "none.json: No such file"},
        {{map_, good, "--attributes", good}, "the same file as the input " + good},
        {{map_, beside}, "the same file as the input " + beside},
        {{map_, out_, "--hardware", "nes", "--region", "0,0,16,15", "--attributes", out_},
         "Cannot read the tile attributes " + out_},
    };
    for (const auto& [args, message] : cases) {
        ExpectRefused(ExportArgs(args), message, out_);
    }
    // A plain export does not read the attributes it does not use.
    EXPECT_EQ(Export({map_, out_, "--region", "0,0,1,1"}).status, ExitSuccess);
}

// The tile graphics and palettes read the map's tilesets, a profile's files
// from the map's folder; a refusal writes none of the three.
TEST_F(ExportCli, TilesAndPalettesBesideTheMap) {
    Surface tileset(32, 16); // tiles 0 and 1: black, and a red pixel on white
    tileset.Clear(Black);
    for (int y = 0; y < 16; ++y) {
        for (int x = 16; x < 32; ++x) {
            tileset.Set(x, y, x == 16 && y == 0 ? Rgb(255, 0, 0) : White);
        }
    }
    const std::vector<std::uint8_t> png = EncodePng(tileset);
    WriteText(dir_.File("maps/tiles.png"), std::string(png.begin(), png.end()));
    MapGrid map;
    map(1, 0) = 1;
    WriteText(map_, WriteProjectBytes({"tiles.png"}, map));
    WriteText(dir_.File("maps/level.export.json"),
              R"({"hardware": "snes", "region": "0,0,2,1", "numbering": "unique",
                  "tiles": "level.chr", "palettes": "level.pal", "format": "raw"})");
    CliRun run = Export({map_, out_, "--profile", dir_.File("maps/level.export.json")});
    ASSERT_EQ(run.status, ExitSuccess) << run.err;
    EXPECT_EQ(run.out, "Exported 16 bytes to " + out_ + "; 3 tiles, 96 bytes, to " +
                           dir_.File("maps/level.chr") + "; 1 palette, 32 bytes, to " +
                           dir_.File("maps/level.pal") + ".\n");
    // Black, then red and white as tile 1's top-left quarter first shows them.
    EXPECT_EQ(ReadText(dir_.File("maps/level.pal")).substr(0, 6),
              std::string("\x00\x00\x1F\x00\xFF\x7F", 6));
    EXPECT_EQ(ReadText(out_).substr(0, 8), std::string("\x00\x00\x00\x00\x01\x00\x02\x00", 8));

    const std::string tiles = dir_.File("t.bin");
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{map_, out_, "--hardware", "snes", "--tiles", dir_.File("maps/tiles.png")},
         "the same file as the input " + dir_.File("maps/tiles.png")},
        {{map_, out_, "--hardware", "snes", "--tiles", tiles, "--palette-file",
          dir_.File("none.gpl")},
         "none.gpl: No such file"},
        {{map_, out_, "--hardware", "nes", "--region", "0,0,16,15", "--tiles", tiles,
          "--nes-palette", dir_.File("maps/level.export.json")},
         "a palette is 192"},
    };
    for (const auto& [args, message] : cases) {
        ExpectRefused(ExportArgs(args), message, out_);
        EXPECT_FALSE(std::filesystem::exists(tiles)) << message;
    }
    WriteText(map_, WriteProjectBytes({"missing.png"}, map));
    ExpectRefused(ExportArgs({map_, out_, "--hardware", "gb", "--tiles", tiles}), "missing.png",
                  out_);
}
