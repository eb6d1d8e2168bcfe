// tessra-cli build over a folder of maps: the same bytes as export, nothing
// rewritten that would not change, a shared tile bank whose numbers stay, and
// a depfile that real make reads.
#include "cli_run.h"
#include "core/export/console_colour.h"
#include "core/export/export_profile.h"
#include "core/formats/image_encoders.h"
#include "core/render/palette_layout.h"
#include "io/file_io.h"

#include <map>
#include <random>
#include <set>

using namespace tessra;

namespace {

using Identities = std::map<std::string, std::optional<FileIdentity>>;

class BuildCli : public ::testing::Test {
  protected:
    void SetUp() override { std::filesystem::create_directories(dir_.File("game/out")); }

    std::string Game(const std::string& name) const { return dir_.File("game/" + name); }

    // A tileset of `tiles` 16 x 16 tiles of random pixels in four colours.
    void Tileset(const std::string& name, int tiles, unsigned seed) const {
        const Pixel colours[] = {Black, White, Rgb(248, 56, 0), Rgb(0, 120, 248)};
        Surface picture(256, 16 * ((tiles + 15) / 16));
        std::mt19937 random(seed);
        for (int y = 0; y < picture.Height(); ++y) {
            for (int x = 0; x < picture.Width(); ++x) {
                picture.Set(x, y, colours[random() % 4]);
            }
        }
        picture.Set(0, 0, Black); // the backdrop
        const std::vector<std::uint8_t> png = EncodePng(picture);
        WriteText(Game(name), std::string(png.begin(), png.end()));
    }

    // NAME.tessra showing tiles 0 .. tiles - 1, then 0, with its profile.
    void Map(const std::string& name, const std::string& tileset, int tiles,
             const std::string& profile) const {
        MapGrid map;
        for (int i = 0; i < tiles; ++i) {
            map(i % 16, i / 16) = static_cast<std::uint8_t>(i);
        }
        WriteText(Game(name + ".tessra"), WriteProjectBytes({tileset}, map));
        WriteText(Game(name + ".export.json"), profile);
    }

    // Two maps sharing a SNES bank, one Game Boy map with its own tiles in C.
    void ThreeMaps() const {
        Tileset("sky tiles$1.png", 24, 1);
        Tileset("cave.png", 16, 2);
        const std::string bank = R"({"hardware": "snes", "bank": "world.tilebank",
            "tiles": "out/world.chr", "palettes": "out/world.pal", "region": "0,0,16,2", )";
        Map("a", "sky tiles$1.png", 24, bank + R"("output": "out/a.bin"})");
        Map("b", "cave.png", 16, bank + R"("output": "out/b.bin"})");
        Map("c", "cave.png", 4,
            R"({"hardware": "gb", "numbering": "unique", "region": "0,0,16,1", "format": "c",
                "tiles": "out/c_tiles.c", "output": "out/c.c"})");
    }

    CliRun Build(std::vector<std::string> args = {}) const {
        args.insert(args.begin(), {"build", dir_.File("game")});
        return RunTool(args);
    }

    // Every file under game/out and the bank, with its identity.
    Identities Outputs() const {
        Identities files{{Game("world.tilebank"), IdentifyFile(Game("world.tilebank"))}};
        for (const auto& entry : std::filesystem::directory_iterator(Game("out"))) {
            files[entry.path().string()] = IdentifyFile(entry.path().string());
        }
        return files;
    }

    // The outputs whose identity changed since `before`, by name.
    std::set<std::string> Changed(const Identities& before) const {
        std::set<std::string> changed;
        for (const auto& [path, identity] : Outputs()) {
            if (!before.contains(path) || before.at(path) != identity) {
                changed.insert(std::filesystem::path(path).filename().string());
            }
        }
        return changed;
    }

    TempDir dir_;
};

} // namespace

TEST_F(BuildCli, OutputsAreExportsAndAreLeftWhenTheyWouldNotChange) {
    ThreeMaps();
    CliRun run = Build({"-j", "2"});
    ASSERT_EQ(run.status, ExitSuccess) << run.err;
    EXPECT_NE(run.out.find("Wrote " + Game("out/a.bin")), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("Built 3 maps: 9 outputs written, 0 left as they were, 0 failed."),
              std::string::npos)
        << run.out;
    const Identities built = Outputs();
    EXPECT_EQ(built.size(), 9u);
    // export --profile writes the same bytes, so it leaves every file as it was.
    for (const char* map : {"a", "b", "c"}) {
        const std::string path = Game(std::string(map) + ".tessra");
        run = RunTool({"export", path, "--profile", ExportProfilePath(path)});
        ASSERT_EQ(run.status, ExitSuccess) << run.err;
    }
    EXPECT_EQ(Changed(built), std::set<std::string>{});
    run = Build();
    EXPECT_NE(run.out.find("Built 3 maps: 0 outputs written, 9 left as they were"),
              std::string::npos)
        << run.out;
    EXPECT_EQ(Changed(built), std::set<std::string>{});

    // A tileset of one map only: its outputs and the bank it adds tiles to.
    Tileset("sky tiles$1.png", 24, 3);
    ASSERT_EQ(Build().status, ExitSuccess);
    EXPECT_EQ(Changed(built), (std::set<std::string>{"a.bin", "world.chr", "world.tilebank"}));
    // A new map joins the bank: the others' outputs stay byte for byte.
    const Identities before = Outputs();
    const std::string bankBefore = ReadText(Game("world.tilebank"));
    Tileset("d.png", 8, 4);
    Map("d", "d.png", 8,
        R"({"hardware": "snes", "bank": "world.tilebank", "tiles": "out/world.chr",
            "palettes": "out/world.pal", "region": "0,0,16,2", "output": "out/d.bin"})");
    run = Build();
    ASSERT_EQ(run.status, ExitSuccess) << run.err;
    EXPECT_EQ(Changed(before), (std::set<std::string>{"d.bin", "world.chr", "world.tilebank"}));
    EXPECT_TRUE(ReadText(Game("world.tilebank")).starts_with(bankBefore));
    EXPECT_NE(run.out.find("The tile bank " + Game("world.tilebank") + " took 32 new tiles"),
              std::string::npos)
        << run.out;

    // Compacting drops the tiles of the map that left and those a's old
    // tileset brought; the rest follow their new numbers.
    std::filesystem::remove(Game("d.export.json"));
    run = Build({"--compact"});
    ASSERT_EQ(run.status, ExitSuccess) << run.err;
    EXPECT_NE(run.out.find("128 tiles no map uses dropped"), std::string::npos) << run.out;
    EXPECT_EQ(ReadText(Game("out/world.chr")).size(), 160u * 32);
    const Identities compacted = Outputs();
    run = RunTool({"export", Game("b.tessra"), "--profile", Game("b.export.json")});
    ASSERT_EQ(run.status, ExitSuccess) << run.err;
    EXPECT_EQ(Changed(compacted), std::set<std::string>{});
}

TEST_F(BuildCli, AFailedMapIsNamedAndTheOthersAreBuilt) {
    // A NES bank holds 256 tiles: e fills it, f would take it past.
    Tileset("e.png", 64, 5);
    Tileset("f.png", 2, 6);
    const std::string nes = R"({"hardware": "nes", "bank": "nes.tilebank", "region": "0,0,16,15",
                                "tiles": "out/nes.chr", )";
    Map("e", "e.png", 64, nes + R"("output": "out/e.bin"})");
    Map("f", "f.png", 2, nes + R"("output": "out/f.bin"})");
    Map("g", "f.png", 2, R"({"output": "out/e.bin"})");
    Map("h", "f.png", 2, R"({"output": "out/h.bin", "region": "9"})");
    std::filesystem::create_directory(Game("old"));
    Map("old/x", "f.png", 2, "not JSON");
    WriteText(Game(".tessraignore"), "# kept apart\nold/\n");
    const CliRun run = Build();
    EXPECT_EQ(run.status, ExitRefused);
    EXPECT_NE(run.err.find("3 maps failed:\n  " + Game("f.tessra") + ": The tile bank " +
                           Game("nes.tilebank") +
                           " would hold 264 8 x 8 tiles, but the nes map names tiles 0 to 255 "
                           "and tile-base is 0; this map adds 8"),
              std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find(Game("g.tessra") + ": It would write " + Game("out/e.bin") + ", which " +
                           Game("e.tessra") + " writes too"),
              std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find(Game("h.tessra") + ": Cannot read the export profile"),
              std::string::npos)
        << run.err;
    EXPECT_NE(run.out.find("took no more: " + Game("f.tessra") + " adds tiles past"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("Built 4 maps (3 failed): 3 outputs written"), std::string::npos)
        << run.out;
    EXPECT_EQ(ReadText(Game("out/e.bin")).size(), 1024u);
    EXPECT_FALSE(std::filesystem::exists(Game("out/f.bin")));

    const std::pair<std::vector<std::string>, std::string> refused[] = {
        {{"build", "-j", "0"}, "-j takes how many maps to export at once, from 1 to 256"},
        {{"build", "--fast"}, "Unknown option: --fast"},
        {{"build", "a", "b"}, "build takes one folder"},
        {{"build", dir_.File("none")}, "Cannot read the folder"},
    };
    for (const auto& [args, message] : refused) {
        const CliRun bad = RunTool(args);
        EXPECT_EQ(bad.status, ExitRefused);
        EXPECT_NE(bad.err.find(message), std::string::npos) << bad.err;
    }
}

// make reads the depfile: a second run remakes only what a changed tileset made.
TEST_F(BuildCli, MakeReadsTheDepfile) {
    if (RunProgram("--version") != 0 || std::system("make --version >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "make is missing: apt-get install make";
    }
    ThreeMaps();
    const std::string outputs = "game/out/a.bin game/out/b.bin game/out/world.chr "
                                "game/out/world.pal game/out/c.c game/out/c.h "
                                "game/out/c_tiles.c game/out/c_tiles.h";
    WriteText(dir_.File("Makefile"),
              "OUTPUTS := " + outputs +
                  "\nall: $(OUTPUTS:=.copy)\n%.copy: %\n\tcp $< $@\n$(OUTPUTS):\n\t" TESSRA_CLI
                  " build game --depfile deps.d\n-include deps.d\n");
    const auto make = [&](const char* flags = "") {
        const std::string log = dir_.File("make.log");
        const int status = std::system(
            ("make -C " + dir_.Path().string() + " " + flags + " >" + log + " 2>&1").c_str());
        return std::pair(WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadText(log));
    };
    auto [status, log] = make();
    ASSERT_EQ(status, 0) << log;
    EXPECT_EQ(make("-q").first, 0) << ReadText(dir_.File("deps.d"));
    Tileset("cave.png", 16, 7); // b's and c's, not a's
    std::tie(status, log) = make();
    ASSERT_EQ(status, 0) << log;
    EXPECT_NE(log.find("cp game/out/b.bin"), std::string::npos) << log;
    EXPECT_NE(log.find("cp game/out/c_tiles.c"), std::string::npos) << log;
    EXPECT_EQ(log.find("cp game/out/a.bin"), std::string::npos) << log;
    EXPECT_EQ(log.find("cp game/out/c.c"), std::string::npos) << log;
}
