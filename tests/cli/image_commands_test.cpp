#include "../platform/temp_dir.h"
#include "cli/cli.h"
#include "core/project_file.h"

#include <QImage>
#include <gtest/gtest.h>
#include <sstream>

using namespace tessra;

namespace {

const std::string Fixtures = TESSRA_TEST_DATA "/pcx/";

int RunTool(const std::vector<std::string>& args, std::string* err = nullptr) {
    std::ostringstream out, errors;
    const int status = RunCli(args, out, errors);
    if (err) {
        *err = errors.str();
    }
    return status;
}

QImage Load(const std::string& path) {
    return QImage(QString::fromStdString(path)).convertToFormat(QImage::Format_RGB32);
}

// Colour c of the test tilesets' palettes; every tile is one colour.
QRgb Colour(int c) {
    return qRgb(c * 40 % 256, 255 - c * 30, 100 + c);
}

// A 256-colour PCX whose tiles, row by row, have colours first, first + 1, ...
std::string TilesetPcx(int width, int height, int first) {
    std::string file(128, '\0');
    file[0] = 10, file[1] = 5, file[2] = 1, file[3] = 8, file[65] = 1;
    const auto put16 = [&](int at, int value) {
        file[at] = static_cast<char>(value & 0xFF), file[at + 1] = static_cast<char>(value >> 8);
    };
    put16(8, width - 1), put16(10, height - 1), put16(66, width);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            file += static_cast<char>(first + y / 16 * (width / 16) + x / 16); // below 0xC0
        }
    }
    file += '\x0C';
    for (int c = 0; c < 256; ++c) {
        file += {static_cast<char>(qRed(Colour(c))), static_cast<char>(qGreen(Colour(c))),
                 static_cast<char>(qBlue(Colour(c)))};
    }
    return file;
}

class ImageCommands : public ::testing::Test {
  protected:
    void SetUp() override {
        std::filesystem::create_directories(dir_.Path() / "maps" / "tiles");
        WriteText(dir_.File("maps/tiles/a.pcx"), TilesetPcx(16, 32, 1)); // tiles 0..1
        WriteText(dir_.File("maps/tiles/b.pcx"), TilesetPcx(48, 16, 3)); // tiles 2..4
        MapGrid map;
        for (int y = 0; y < MapSize; ++y) {
            for (int x = 0; x < MapSize; ++x) {
                map(x, y) = static_cast<std::uint8_t>((x + 2 * y) % 7); // 5 and 6 are black
            }
        }
        WriteText(map_, WriteProjectBytes({"tiles/a.pcx", "tiles/b.pcx"}, map));
    }

    TempDir dir_;
    std::string map_ = dir_.File("maps/map.tessra");
};

} // namespace

TEST_F(ImageCommands, PcxToImageMatchesTheReferences) {
    for (const char* name : {"pil-p8-25x18", "netpbm-16c-40x24", "pil-mono-25x18", "24bit"}) {
        const std::string pcx = Fixtures + name + ".pcx", reference = Fixtures + name + ".ppm";
        for (const char* out : {"out.ppm", "out.PNG", "out.bmp"}) {
            std::string err;
            ASSERT_EQ(RunTool({"pcx-to-image", pcx, dir_.File(out)}, &err), ExitSuccess) << err;
            EXPECT_EQ(Load(dir_.File(out)), Load(reference)) << name << ' ' << out;
        }
        EXPECT_EQ(ReadText(dir_.File("out.ppm")), ReadText(reference)) << name;
    }
}

TEST_F(ImageCommands, PaletteNumbersTilesAcrossTilesets) {
    const std::string out = dir_.File("palette.ppm");
    ASSERT_EQ(
        RunTool({"palette", out, dir_.File("maps/tiles/a.pcx"), dir_.File("maps/tiles/b.pcx")}),
        ExitSuccess);
    const QImage palette = Load(out);
    ASSERT_EQ(palette.size(), QSize(256, 256));
    for (int tile = 0; tile < 7; ++tile) {
        const QRgb expected = tile < 5 ? Colour(tile + 1) : qRgb(0, 0, 0);
        EXPECT_EQ(palette.pixel(16 * tile + 15, 15), expected) << tile;
    }
    ASSERT_EQ(RunTool({"palette", out}), ExitSuccess);
    EXPECT_EQ(Load(out).pixel(255, 255), qRgb(0, 0, 0));
}

TEST_F(ImageCommands, RenderDrawsTheWholeMapOrTheClampedView) {
    const std::string whole = dir_.File("whole.ppm");
    ASSERT_EQ(RunTool({"render", map_, whole}), ExitSuccess); // tilesets relative to the map
    const QImage map = Load(whole);
    ASSERT_EQ(map.size(), QSize(4096, 4096));
    for (const auto& [x, y] : {std::pair{0, 0}, {1, 0}, {4, 0}, {3, 1}, {100, 37}, {255, 255}}) {
        const int tile = (x + 2 * y) % 7;
        EXPECT_EQ(map.pixel(16 * x + 15, 16 * y + 9), tile < 5 ? Colour(tile + 1) : qRgb(0, 0, 0))
            << x << ',' << y;
    }
    const struct {
        std::vector<std::string> options;
        int zoom, x, y; // what the view must show
    } views[] = {
        {{"--zoom", "0"}, 0, 0, 0},
        {{"--scroll", "250,-3"}, 0, 224, 0},
        {{"--zoom=3", "--scroll=300,300"}, 3, 252, 252},
        {{"--scroll", "249,249", "--zoom", "2"}, 2, 248, 249},
    };
    for (const auto& view : views) {
        std::vector<std::string> args{"render", map_, dir_.File("view.bmp")};
        args.insert(args.end(), view.options.begin(), view.options.end());
        ASSERT_EQ(RunTool(args), ExitSuccess) << view.options[0];
        const QImage shown = Load(dir_.File("view.bmp"));
        ASSERT_EQ(shown.size(), QSize(512, 448));
        const int scale = 1 << view.zoom;
        int wrong = 0;
        for (int y = 0; y < 448; y += 13) {
            for (int x = 0; x < 512; x += 17) {
                wrong += shown.pixel(x, y) !=
                         map.pixel(16 * view.x + x / scale, 16 * view.y + y / scale);
            }
        }
        EXPECT_EQ(wrong, 0) << view.options[0];
        EXPECT_EQ(shown.pixel(511, 447),
                  map.pixel(16 * view.x + 511 / scale, 16 * view.y + 447 / scale));
    }
}

TEST_F(ImageCommands, RefusalsLeaveTheOutputAlone) {
    WriteText(dir_.File("short.pcx"), "PCX");
    WriteText(dir_.File("bad.tessra"), WriteProjectBytes({"missing.pcx"}, MapGrid{}));
    const std::string out = dir_.File("out.png");
    const struct {
        std::vector<std::string> args;
        std::string output;
        std::vector<std::string> messages;
    } cases[] = {
        {{"pcx-to-image", Fixtures + "netpbm-16c-25x18.pcx", out}, out, {"does not draw"}},
        {{"pcx-to-image", dir_.File("none.pcx"), out}, out, {"none.pcx"}},
        {{"pcx-to-image", Fixtures + "24bit.pcx", dir_.File("o.gif")},
         dir_.File("o.gif"),
         {".ppm"}},
        {{"palette", out, dir_.File("none.pcx"), dir_.File("maps/tiles/a.pcx"),
          dir_.File("short.pcx")},
         out,
         {"none.pcx", "short.pcx: the file is shorter"}},
        {{"render", map_, out, "--zoom", "4"}, out, {"zoom"}},
        {{"render", map_, out, "--scroll", "1;2"}, out, {"scroll"}},
        {{"render", map_, out, "--spin"}, out, {"--spin"}},
        {{"render", dir_.File("bad.tessra"), out}, out, {dir_.File("missing.pcx")}},
    };
    for (const auto& c : cases) {
        WriteText(c.output, "as it was");
        std::string err;
        EXPECT_EQ(RunTool(c.args, &err), ExitRefused) << c.args[0] << ' ' << c.messages[0];
        for (const std::string& message : c.messages) {
            EXPECT_NE(err.find(message), std::string::npos) << err;
        }
        EXPECT_EQ(ReadText(c.output), "as it was") << c.messages[0];
    }
    std::ostringstream help, ignored;
    ASSERT_EQ(RunCli({"--help"}, help, ignored), ExitSuccess);
    for (const char* command : {"pcx-to-image", "palette", "render"}) {
        EXPECT_NE(help.str().find(command), std::string::npos) << command;
    }
}
