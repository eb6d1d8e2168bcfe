#include "cli_run.h"
#include "core/model/tile_attributes.h"

using namespace tessra;

namespace {

// A level picture of 4 x 3 cells in maps/, cells (0, 0), (2, 0) and (1, 2)
// alike and the others each of its own colour: 10 tiles.
class LevelCommands : public ::testing::Test {
  protected:
    void SetUp() override {
        std::filesystem::create_directories(dir_.Path() / "maps" / "tiles");
        QImage picture(64, 48, QImage::Format_RGB32);
        for (int cell = 0; cell < 12; ++cell) {
            const bool alike = cell == 0 || cell == 2 || cell == 9;
            const QColor colour = alike ? QColor(10, 20, 30) : QColor(cell * 20, 255 - cell, 7);
            for (int y = 0; y < 16; ++y) {
                for (int x = 0; x < 16; ++x) {
                    picture.setPixelColor(cell % 4 * 16 + x, cell / 4 * 16 + y,
                                          x == y ? Qt::white : colour);
                }
            }
        }
        ASSERT_TRUE(picture.save(QString::fromStdString(picture_)));
        picture_image_ = LoadImage(picture_);
    }

    TempDir dir_;
    std::string picture_ = dir_.File("level.png");
    std::string project_ = dir_.File("maps/level.tessra");
    std::string tiles_ = dir_.File("maps/tiles/level.png");
    QImage picture_image_;
};

} // namespace

// The map, drawn again, is the picture; the project names its tileset from its
// own folder; a stale attributes file beside it goes.
// A PCX picture imports as its reference decoding draws.
TEST_F(LevelCommands, ImportImageDrawsThePictureAgain) {
    TileAttributeTable stale;
    stale[3].Palette = 2;
    WriteText(TileAttributesPath(project_), WriteTileAttributesBytes(stale));
    CliRun run = RunTool({"import-image", picture_, project_, "--tileset", tiles_});
    ASSERT_EQ(run.status, ExitSuccess) << run.err;
    EXPECT_EQ(run.out, "Cut 64 x 48 pixels into 12 cells: 10 tiles.\n");
    const ProjectData project = ReadProject(project_);
    EXPECT_EQ(project.Tilesets, std::vector<std::string>{"tiles/level.png"});
    EXPECT_EQ(std::tuple(project.MapData(2, 0), project.MapData(1, 2), project.MapData(3, 2)),
              std::tuple(0, 0, 9));
    EXPECT_EQ(LoadImage(tiles_).size(), QSize(256, 16));
    EXPECT_FALSE(std::filesystem::exists(TileAttributesPath(project_)));
    ASSERT_EQ(RunTool({"render", project_, dir_.File("again.bmp"), "--scroll", "0,0"}).status,
              ExitSuccess);
    EXPECT_EQ(LoadImage(dir_.File("again.bmp")).copy(0, 0, 64, 48), picture_image_);

    const std::string pcx = TESSRA_TEST_DATA "/pcx/pil-p8-128x64";
    run = RunTool({"import-image", pcx + ".pcx", project_, "--tileset=" + tiles_});
    ASSERT_EQ(run.status, ExitSuccess) << run.err;
    ASSERT_EQ(RunTool({"render", project_, dir_.File("again.bmp"), "--scroll", "0,0"}).status,
              ExitSuccess);
    EXPECT_EQ(LoadImage(dir_.File("again.bmp")).copy(0, 0, 128, 64), LoadImage(pcx + ".ppm"));
}

// Each refusal names what is wrong and writes neither file.
TEST_F(LevelCommands, ImportImageRefusalsWriteNothing) {
    const std::string odd = TESSRA_TEST_DATA "/pcx/pil-p8-25x18.pcx";
    std::string undrawn = ReadText(TESSRA_TEST_DATA "/pcx/pil-p8-128x64.pcx");
    undrawn[3] = 2; // bits per pixel, a kind the editor does not draw
    WriteText(dir_.File("undrawn.pcx"), undrawn);
    QImage many(4096, 32, QImage::Format_RGB32);
    for (int x = 0; x < 4096; ++x) {
        for (int y = 0; y < 32; ++y) {
            const int cell = x / 16 + y / 16 * 256;
            many.setPixel(x, y, qRgb(cell % 257, cell % 257 / 256, 1));
        }
    }
    ASSERT_TRUE(many.save(QString::fromStdString(dir_.File("many.png"))));
    const std::pair<std::vector<std::string>, const char*> cases[] = {
        {{odd, project_, "--tileset", tiles_}, "The picture is 25 x 18 pixels"},
        {{dir_.File("undrawn.pcx"), project_, "--tileset", tiles_}, "does not draw"},
        {{dir_.File("many.png"), project_, "--tileset", tiles_}, "257 distinct 16 x 16 cells"},
        {{picture_, project_, "--tileset", project_}, "must be two files"},
        {{picture_, project_, "--tileset", picture_}, "same file as the input"},
    };
    for (auto [args, message] : cases) {
        args.insert(args.begin(), "import-image");
        ExpectRefused(args, message, project_);
        EXPECT_FALSE(std::filesystem::exists(tiles_)) << message;
    }
}
