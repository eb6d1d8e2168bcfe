#include "cli_run.h"

using namespace tessra;

namespace {

const std::string Fixtures = TESSRA_TEST_DATA "/pcx/";

// A map whose one tileset is a fixture of 8 x 4 tiles; cell (x, y) holds tile
// (x + 2y) mod 40, so tiles 32..39 show black.
class ImageCommands : public ::testing::Test {
  protected:
    void SetUp() override {
        std::filesystem::create_directories(dir_.Path() / "maps" / "tiles");
        std::filesystem::copy_file(Fixtures + "pil-p8-128x64.pcx", tileset_);
        MapGrid map;
        for (int y = 0; y < MapSize; ++y) {
            for (int x = 0; x < MapSize; ++x) {
                map(x, y) = static_cast<std::uint8_t>((x + 2 * y) % 40);
            }
        }
        WriteText(map_, WriteProjectBytes({"tiles/a.pcx"}, map));
    }

    // Pixel (dx, dy) of a tile, taken from the fixture's reference decoding.
    QRgb TilePixel(int tile, int dx, int dy) const {
        return tile < 32 ? tiles_.pixel(tile % 8 * 16 + dx, tile / 8 * 16 + dy) : qRgb(0, 0, 0);
    }

    TempDir dir_;
    std::string map_ = dir_.File("maps/map.tessra"), tileset_ = dir_.File("maps/tiles/a.pcx");
    QImage tiles_ = LoadImage(Fixtures + "pil-p8-128x64.ppm");
};

} // namespace

TEST_F(ImageCommands, PcxToImageMatchesTheReferences) {
    for (const char* name : {"pil-p8-25x18", "netpbm-16c-40x24", "pil-mono-25x18", "24bit"}) {
        const std::string pcx = Fixtures + name + ".pcx", reference = Fixtures + name + ".ppm";
        for (const char* out : {"out.ppm", "out.PNG", "out.bmp"}) {
            const CliRun run = RunTool({"pcx-to-image", pcx, dir_.File(out)});
            ASSERT_EQ(run.status, ExitSuccess) << run.err;
            EXPECT_EQ(LoadImage(dir_.File(out)), LoadImage(reference)) << name << ' ' << out;
        }
        EXPECT_EQ(ReadText(dir_.File("out.ppm")), ReadText(reference)) << name;
    }
}

TEST_F(ImageCommands, PaletteShowsEachTile) {
    const std::string out = dir_.File("palette.ppm");
    ASSERT_EQ(RunTool({"palette", out, tileset_}).status, ExitSuccess);
    const QImage palette = LoadImage(out);
    ASSERT_EQ(palette.size(), QSize(256, 256));
    int wrong = 0;
    for (int y = 0; y < 256; ++y) {
        for (int x = 0; x < 256; ++x) {
            wrong += palette.pixel(x, y) != TilePixel(x / 16 + y / 16 * 16, x % 16, y % 16);
        }
    }
    EXPECT_EQ(wrong, 0);

    // 8 x 8 tile k, 16 a row, is quarter k mod 4 of tile k div 4.
    ASSERT_EQ(RunTool({"palette", "--layout", "metatile", out, tileset_}).status, ExitSuccess);
    const QImage quarters = LoadImage(out);
    ASSERT_EQ(quarters.size(), QSize(128, 512));
    for (int y = 0; y < 512; ++y) {
        for (int x = 0; x < 128; ++x) {
            const int k = x / 8 + y / 8 * 16, q = k % 4;
            wrong += quarters.pixel(x, y) != TilePixel(k / 4, q % 2 * 8 + x % 8, q / 2 * 8 + y % 8);
        }
    }
    EXPECT_EQ(wrong, 0);
}

// Without options the whole map, in each format (BMP keeps its rows bottom
// up; PPM is drawn as bytes, the others as pixels); else the view as the
// editor shows it, the options in either form and the scroll clamped.
TEST_F(ImageCommands, RenderDrawsTheWholeMapOrTheView) {
    const struct {
        const char* out;
        std::vector<std::string> options;
        int zoom, x, y, width, height; // what the picture must show
    } renders[] = {
        {"map.ppm", {}, 0, 0, 0, 4096, 4096},
        {"map.bmp", {}, 0, 0, 0, 4096, 4096},
        {"map.png", {}, 0, 0, 0, 4096, 4096},
        {"map.bmp", {"--scroll", "250,-3", "--zoom", "0"}, 0, 224, 0, 512, 448},
        {"map.png", {"--zoom=3", "--scroll=300,300"}, 3, 252, 252, 512, 448},
        {"map.ppm", {"--scroll", "249,249", "--zoom", "2"}, 2, 248, 249, 512, 448},
    };
    for (const auto& render : renders) {
        std::vector<std::string> args{"render", map_, dir_.File(render.out)};
        args.insert(args.end(), render.options.begin(), render.options.end());
        ASSERT_EQ(RunTool(args).status, ExitSuccess); // the tileset relative to the map
        const QImage shown = LoadImage(dir_.File(render.out));
        ASSERT_EQ(shown.size(), QSize(render.width, render.height));
        const int size = 16 << render.zoom, scale = 1 << render.zoom;
        int wrong = 0;
        for (int y = 0; y < render.height; y += 3) {
            for (int x = 0; x < render.width; x += 5) {
                const int tile = (render.x + x / size + 2 * (render.y + y / size)) % 40;
                wrong += shown.pixel(x, y) != TilePixel(tile, x % size / scale, y % size / scale);
            }
        }
        EXPECT_EQ(wrong, 0) << render.out << ' ' << render.x << ',' << render.y;
    }
}

// PPM is written while the picture is decoded: a picture refused before or
// after its header is read must not start the file either.
TEST_F(ImageCommands, RefusalsLeaveTheOutputAlone) {
    WriteText(dir_.File("short.pcx"), "PCX");
    WriteText(dir_.File("bad.tessra"), WriteProjectBytes({"missing.pcx"}, MapGrid{}));
    const std::string png = dir_.File("out.png"), ppm = dir_.File("out.ppm");
    const struct {
        std::vector<std::string> args;
        std::string out, message;
    } cases[] = {
        {{"pcx-to-image", Fixtures + "netpbm-16c-25x18.pcx", ppm}, ppm, "does not draw"},
        {{"pcx-to-image", dir_.File("short.pcx"), ppm}, ppm, "short.pcx: it is not a PCX picture"},
        {{"pcx-to-image", TESSRA_TEST_DATA "/png/grey1.png", png},
         png,
         "grey1.png: it is not a PCX picture but a PNG one"},
        {{"pcx-to-image", dir_.File("none.pcx"), png}, png, "none.pcx"},
        {{"palette", png, dir_.File("none.pcx"), tileset_, dir_.File("short.pcx")},
         png,
         "none.pcx"},
        {{"palette", png, tileset_, dir_.File("short.pcx")}, png, "short.pcx: it is not a PCX"},
        {{"palette", png, TESSRA_TEST_DATA "/png/damaged-crc.png"},
         png,
         "damaged-crc.png: a checksum does not match"},
        {{"render", map_, png, "--attributes", dir_.File("none.json")}, png, "none.json"},
        {{"render", dir_.File("bad.tessra"), png}, png, dir_.File("missing.pcx")},
    };
    for (const auto& c : cases) {
        ExpectRefused(c.args, c.message, c.out);
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_.Path()), {}), 5);
}
