#include "cli_run.h"
#include "io/save_faults.h"

#include <QProcess>
#include <QStandardPaths>
#include <functional>
#include <random>

using namespace tessra;

namespace {

// A map of every tile number over a PCX and a PNG tileset, kept in maps/ under
// a name that XML and JSON must escape.
class TiledCommands : public ::testing::Test {
  protected:
    void SetUp() override {
        std::filesystem::create_directories(dir_.Path() / "maps" / "tiles");
        std::filesystem::create_directories(dir_.Path() / "out");
        std::filesystem::copy_file(TESSRA_TEST_DATA "/pcx/pil-p8-128x64.pcx",
                                   dir_.File("maps/tiles/a.pcx"));
        std::filesystem::copy_file(TESSRA_TEST_DATA "/png/rgba8.png",
                                   dir_.File("maps/tiles/b.png"));
        std::mt19937 random(16);
        for (int i = 0; i < CellCount; ++i) {
            map_.data()[i] = static_cast<std::uint8_t>(random());
        }
        WriteText(map_path_, WriteProjectBytes({"tiles/a.pcx", "tiles/b.png"}, map_));
    }

    TempDir dir_;
    MapGrid map_;
    std::string map_path_ = dir_.File("maps/level\xff <&\">.tessra");
};

} // namespace

// Export then import gives the cells back, over a picture that draws them as
// the original tilesets did, and exporting that project again changes nothing.
TEST_F(TiledCommands, ExportThenImportGivesBackTheMap) {
    ASSERT_EQ(RunTool({"render", map_path_, dir_.File("original.bmp")}).status, ExitSuccess);
    for (const char* name : {"level.tmx", "level.TMJ"}) {
        SCOPED_TRACE(name);
        const std::string out = dir_.File(std::string("out/") + name);
        const std::string back = dir_.File("back.tessra");
        CliRun run = RunTool({"export-tmx", map_path_, out});
        ASSERT_EQ(run.status, ExitSuccess) << run.err;
        run = RunTool({"import-tmx", out, back});
        ASSERT_EQ(run.status, ExitSuccess) << run.err;
        EXPECT_EQ(run.out, "0 cells were empty and became tile 0.\n"
                           "0 cells were flipped or rotated and lost the flags.\n");
        const ProjectData project = ReadProject(back);
        EXPECT_TRUE(project.MapData == map_);
        EXPECT_EQ(project.Tilesets, std::vector<std::string>{"out/level.tiles.png"});
        ASSERT_EQ(RunTool({"render", back, dir_.File("back.bmp")}).status, ExitSuccess);
        EXPECT_EQ(LoadImage(dir_.File("back.bmp")), LoadImage(dir_.File("original.bmp")));

        const std::string picture = ReadText(dir_.File("out/level.tiles.png"));
        run = RunTool({"export-tmx", back, out});
        ASSERT_EQ(run.status, ExitSuccess) << run.err;
        EXPECT_EQ(ReadText(dir_.File("out/level.tiles.png")), picture);
    }
}

// Tiled's own renderer draws the exported map pixel for pixel as render does,
// and render's PNG is at most 1.2 times the size of tmxrasterizer's: for the
// map of every tile, and for one of a few smooth tiles in blocks, whose
// repeats a fast deflate misses.
TEST_F(TiledCommands, TmxrasterizerDrawsTheExportAsRenderDoes) {
    const QString rasterizer = QStandardPaths::findExecutable(QStringLiteral("tmxrasterizer"));
    if (rasterizer.isEmpty()) {
        GTEST_SKIP() << "tmxrasterizer not found: it comes with Debian's tiled package";
    }
    std::filesystem::copy_file(TESSRA_TEST_DATA "/tiled/magick-plasma-blurred-256x224.pcx",
                               dir_.File("maps/tiles/smooth.pcx"));
    MapGrid blocks;
    for (int i = 0; i < CellCount; ++i) {
        blocks.data()[i] = static_cast<std::uint8_t>((i % MapSize / 8 + i / MapSize / 8) % 4);
    }
    const std::string blocksPath = dir_.File("maps/blocks.tessra");
    WriteText(blocksPath, WriteProjectBytes({"tiles/smooth.pcx"}, blocks));
    for (const auto& [map, name] : {std::pair{map_path_, "level.tmx"},
                                    {map_path_, "level.tmj"},
                                    {blocksPath, "blocks.tmx"}}) {
        const std::string out = dir_.File(std::string("out/") + name);
        ASSERT_EQ(RunTool({"render", map, dir_.File("ours.png")}).status, ExitSuccess);
        ASSERT_EQ(RunTool({"export-tmx", map, out}).status, ExitSuccess);
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        process.setProcessEnvironment(environment);
        process.start(rasterizer, {QString::fromStdString(out),
                                   QString::fromStdString(dir_.File("tiled.png"))});
        ASSERT_TRUE(process.waitForFinished(120000));
        ASSERT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
        EXPECT_EQ(LoadImage(dir_.File("tiled.png")), LoadImage(dir_.File("ours.png"))) << name;
        EXPECT_LE(std::filesystem::file_size(dir_.File("ours.png")),
                  std::filesystem::file_size(dir_.File("tiled.png")) * 6 / 5)
            << name;
    }
}

TEST_F(TiledCommands, RefusalsWriteNothing) {
    WriteText(dir_.File("out/iso.tmx"), R"(<map orientation="isometric"/>)");
    WriteText(dir_.File("out/bad.tmx"),
              R"(<map orientation="orthogonal" width="1" height="1" tilewidth="16"
                 tileheight="16"><tileset firstgid="1" tilewidth="16" tileheight="16">
                 <image source=")" TESSRA_TEST_DATA R"(/png/damaged-crc.png"/></tileset>
                 <layer width="1" height="1"><data encoding="csv">1</data></layer></map>)");
    std::filesystem::copy_file(dir_.File("maps/tiles/b.png"), dir_.File("out/level.tiles.png"));
    // Its project would list " gfx/b.png", which reads back as "gfx/b.png".
    std::filesystem::create_directory(dir_.File("out/ gfx"));
    std::filesystem::copy_file(dir_.File("maps/tiles/b.png"), dir_.File("out/ gfx/b.png"));
    WriteText(dir_.File("out/blank.tmx"),
              R"(<map orientation="orthogonal" width="1" height="1" tilewidth="16"
                 tileheight="16"><tileset firstgid="1" tilewidth="16" tileheight="16">
                 <image source=" gfx/b.png"/></tileset>
                 <layer width="1" height="1"><data encoding="csv">1</data></layer></map>)");
    const std::string mine = dir_.File("out/mine.tessra");
    WriteText(mine, WriteProjectBytes({"level.tiles.png", "gone.pcx"}, MapGrid{}));
    const struct {
        std::vector<std::string> args;
        std::string message;
    } cases[] = {
        {{"export-tmx", mine, dir_.File("out/level.tmx")}, "gone.pcx"},
        {{"export-tmx", dir_.File("out/gone.tessra"), dir_.File("out/gone.tmx")}, "Cannot read"},
        {{"import-tmx", dir_.File("out/iso.tmx"), mine}, "the map is isometric"},
        {{"import-tmx", dir_.File("out/bad.tmx"), mine}, "damaged-crc.png: a checksum"},
        {{"import-tmx", dir_.File("out/gone.tmx"), mine}, "Cannot read"},
        {{"import-tmx", dir_.File("out/blank.tmx"), mine}, "cannot begin or end with a blank"},
    };
    // The two files' bytes and how many files out/ holds.
    const auto state = [&] {
        return ReadText(mine) + ReadText(dir_.File("out/level.tiles.png")) +
               std::to_string(std::distance(std::filesystem::directory_iterator(dir_.File("out")),
                                            std::filesystem::directory_iterator()));
    };
    const std::string before = state();
    for (const auto& c : cases) {
        const CliRun run = RunTool(c.args);
        EXPECT_EQ(run.status, ExitRefused) << c.message;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        EXPECT_EQ(state(), before) << c.message;
    }
}

// What stands where the palette picture goes is looked at without opening it
// or following a link: only nothing, or an earlier export's PNG, is written
// over. Anything else (a tileset of the map too) is refused before either
// file is written.
TEST_F(TiledCommands, PalettePictureReplacesOnlyAnEarlierPicture) {
    namespace fs = std::filesystem;
    const std::string out = dir_.File("out/level.tmx"), picture = dir_.File("out/level.tiles.png");
    std::string map;
    const struct {
        const char* what;
        std::function<void()> place;
        const char* refusal; // empty when both files are written
    } cases[] = {
        {"nothing", [] {}, ""},
        {"an earlier picture",
         [&] {
             RunTool({"export-tmx", map, out});
         },
         ""},
        {"a tileset of the map",
         [&] {
             fs::copy_file(dir_.File("maps/tiles/b.png"), picture);
             WriteText(map = dir_.File("out/mine.tessra"),
                       WriteProjectBytes({"level.tiles.png"}, MapGrid{}));
         },
         "it is a tileset of the map"},
        {"a named pipe", [&] { ::mkfifo(picture.c_str(), 0600); }, "it is a named pipe"},
        {"a folder", [&] { fs::create_directory(picture); }, "it is a folder"},
        {"a link to a picture",
         [&] {
             fs::copy_file(dir_.File("maps/tiles/b.png"), dir_.File("out/elsewhere.png"));
             fs::create_symlink("elsewhere.png", picture);
         },
         "it is a symbolic link"},
        {"a dangling link", [&] { fs::create_symlink("gone.png", picture); },
         "it is a symbolic link"},
        {"a text file", [&] { WriteText(picture, "my notes"); }, "it is not a PNG picture"},
    };
    for (const auto& c : cases) {
        fs::remove_all(dir_.File("out"));
        fs::create_directory(dir_.File("out"));
        map = map_path_;
        c.place();
        const auto before = FolderSnapshot(dir_.Path());
        const std::string said = RunBounded(
            [&] {
                const CliRun run = RunTool({"export-tmx", map, out});
                return std::to_string(run.status) + " " + run.err;
            },
            30);
        if (*c.refusal == 0) {
            EXPECT_EQ(said, "0 ") << c.what;
            EXPECT_EQ(LoadImage(picture).size(), QSize(256, 256)) << c.what;
            EXPECT_TRUE(fs::exists(out)) << c.what;
            continue;
        }
        EXPECT_TRUE(said.starts_with("1 tessra-cli: Cannot write " + picture + ": " + c.refusal))
            << said;
        // Compared, not printed: a diff of the pictures would take gigabytes.
        EXPECT_TRUE(FolderSnapshot(dir_.Path()) == before) << c.what;
    }
}
