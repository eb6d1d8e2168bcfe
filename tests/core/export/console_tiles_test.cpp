// The tile graphics and palettes, read back by a decoder written from the
// consoles' formats alone, and compared with the editor's own drawing.
#include "core/render/palette_layout.h"
#include "core/render/tile_drawing.h"
#include "export_fixtures.h"
#include "support/refusal.h"

#include <gtest/gtest.h>
#include <memory>
#include <random>
#include <set>

using namespace tessra;

namespace {

// With a bank, the export starts from it; the bank it leaves is in the outputs.
Result<Outputs> Export(const MapGrid& map, const TileAttributeTable& attributes,
                       const Surface& picture, Settings texts, std::vector<Pixel> paletteFile = {},
                       std::shared_ptr<const TileBank> bank = nullptr) {
    if (bank) {
        texts.emplace_back("bank", "level.tilebank");
    }
    ArtInputs art;
    art.Picture = &picture;
    art.PaletteFile = std::move(paletteFile);
    art.Bank = std::move(bank);
    art.BankName = "level.tilebank";
    return Export(map, attributes, texts, &art);
}

std::string Hex(const Bytes& bytes) {
    std::string text;
    for (const std::uint8_t byte : bytes) {
        constexpr char Digits[] = "0123456789ABCDEF";
        text += Digits[byte >> 4];
        text += Digits[byte & 15];
    }
    return text;
}

// One console at one depth, as the decoder reads it.
struct Console {
    const char* hardware;
    int bpp;
    int palettes; // sub-palettes an entry names at this depth
    bool flips;
};

constexpr Console Consoles[] = {
    {"nes", 2, 4, false}, {"gb", 2, 1, false},  {"gbc", 2, 8, true},
    {"snes", 2, 8, true}, {"snes", 4, 8, true}, {"snes", 8, 1, true},
    {"gba", 4, 16, true}, {"gba", 8, 1, true},  {"md", 4, 4, true},
};

void PrintTo(const Console& c, std::ostream* out) {
    *out << c.hardware << " " << c.bpp << "bpp";
}

bool Is(const Console& c, std::string_view hardware) {
    return c.hardware == hardware;
}

// A colour at the console's depth, written from the table: the top bits of
// each channel, or the nearest NES colour (never $0D, $0E, $1D..$1F, $2E,
// $2F, $3E, $3F; ties to the lower index). The Game Boy's is the colour itself.
std::uint32_t Reduced(const Console& c, Pixel pixel) {
    const unsigned r = pixel & 0xFF, g = pixel >> 8 & 0xFF, b = pixel >> 16 & 0xFF;
    if (Is(c, "md")) {
        return r >> 5 | (g >> 5) << 3 | (b >> 5) << 6;
    }
    if (Is(c, "gb")) {
        return pixel & 0xFFFFFF;
    }
    if (!Is(c, "nes")) {
        return r >> 3 | (g >> 3) << 5 | (b >> 3) << 10;
    }
    const std::set<int> avoided = {0x0D, 0x0E, 0x1D, 0x1E, 0x1F, 0x2E, 0x2F, 0x3E, 0x3F};
    int best = -1;
    long bestDistance = 0;
    for (int i = 0; i < 64; ++i) {
        const Pixel m = BuiltInNesPalette()[i];
        const long dr = long(r) - (m & 0xFF), dg = long(g) - (m >> 8 & 0xFF),
                   db = long(b) - (m >> 16 & 0xFF);
        const long distance = dr * dr + dg * dg + db * db;
        if (!avoided.contains(i) && (best < 0 || distance < bestDistance)) {
            best = i, bestDistance = distance;
        }
    }
    return static_cast<std::uint32_t>(best);
}

// A palette entry as the same key: the word's channels, or the NES index.
std::uint32_t EntryKey(const Console& c, const Bytes& palettes, int entry) {
    if (Is(c, "nes")) {
        return palettes.at(static_cast<std::size_t>(entry));
    }
    const auto at = static_cast<std::size_t>(2 * entry);
    if (Is(c, "md")) { // 0000bbb0ggg0rrr0, high byte first
        const unsigned word = palettes.at(at) << 8 | palettes.at(at + 1);
        return (word >> 1 & 7) | (word >> 5 & 7) << 3 | (word >> 9 & 7) << 6;
    }
    return palettes.at(at) | (palettes.at(at + 1) & 0x7F) << 8; // 0bbbbbgggggrrrrr
}

// Pixel (x, y) of a stored tile, from the layout table.
int TilePixel(const Console& c, const Bytes& tiles, int number, int x, int y) {
    const std::size_t at = static_cast<std::size_t>(number) * 8 * c.bpp;
    const auto bit = [&](std::size_t byte) { return tiles.at(at + byte) >> (7 - x) & 1; };
    int index = 0;
    if (Is(c, "nes")) {
        return bit(y) | bit(8 + y) << 1;
    }
    if (Is(c, "gba") || Is(c, "md")) {
        if (c.bpp == 8) {
            return tiles.at(at + 8 * y + x);
        }
        const int byte = tiles.at(at + 4 * y + x / 2);
        const bool high = Is(c, "md") == (x % 2 == 0);
        return high ? byte >> 4 : byte & 15;
    }
    for (int plane = 0; plane < c.bpp; ++plane) {
        index |= bit(16 * (plane / 2) + 2 * y + plane % 2) << plane;
    }
    return index;
}

struct Entry {
    int tile, palette;
    bool hflip, vflip;
};

// The entry at (x, y) of a region w x h entries, one screen, in rows or columns.
Entry MapEntry(const Console& c, const Bytes& map, int w, int h, bool rows, int x, int y) {
    const auto i = static_cast<std::size_t>(rows ? y * w + x : x * h + y);
    const auto word = [&](bool highFirst) {
        return highFirst ? map.at(2 * i) << 8 | map.at(2 * i + 1)
                         : map.at(2 * i) | map.at(2 * i + 1) << 8;
    };
    if (Is(c, "nes")) { // one screen of 32 x 30: 960 tile bytes, then the attribute table
        const int attribute = map.at(960 + static_cast<std::size_t>(8 * (y / 4) + x / 4));
        return {map.at(i), attribute >> (2 * (2 * (y % 4 / 2) + x % 4 / 2)) & 3, false, false};
    }
    if (Is(c, "gb")) {
        return {map.at(i), 0, false, false};
    }
    if (Is(c, "gbc")) { // the tile map, then the attribute map
        const int a = map.at(map.size() / 2 + i);
        return {map.at(i) | (a >> 3 & 1) << 8, a & 7, (a >> 5 & 1) != 0, (a >> 6 & 1) != 0};
    }
    if (Is(c, "snes")) {
        const int e = word(false);
        return {e & 1023, e >> 10 & 7, (e >> 14 & 1) != 0, (e >> 15 & 1) != 0};
    }
    if (Is(c, "gba")) {
        const int e = word(false);
        return {e & 1023, e >> 12 & 15, (e >> 10 & 1) != 0, (e >> 11 & 1) != 0};
    }
    const int e = word(true); // md
    return {e & 2047, e >> 13 & 3, (e >> 11 & 1) != 0, (e >> 12 & 1) != 0};
}

// A picture of colours no sub-palette overflows: tile t takes palette
// t mod palettes, and its pixels come from that palette's room - 1 colours
// and the backdrop. Tile 5's top-left quarter is tile 3's mirrored left to
// right; both share a palette.
struct Scene {
    Surface picture{PaletteWidth, PaletteHeight};
    TileAttributeTable attributes;
    MapGrid map;
    std::vector<std::vector<Pixel>> pools; // each sub-palette's colours
};

constexpr int SceneTiles = 48; // 192 8 x 8 tiles: within every console's numbers

int ScenePalette(const Console& c, int t) {
    return t == 5 ? 3 % c.palettes : t % c.palettes;
}

void PaintTile(Scene& scene, const Console& c, int t, std::mt19937& random) {
    const auto& pool = scene.pools[static_cast<std::size_t>(ScenePalette(c, t))];
    for (int y = 0; y < TileSize; ++y) {
        for (int x = 0; x < TileSize; ++x) {
            scene.picture.Set(TileLeft(t) + x, TileTop(t) + y, pool[random() % pool.size()]);
        }
    }
}

void RandomCells(Scene& scene, std::mt19937& random) {
    for (int i = 0; i < CellCount; ++i) {
        scene.map.data()[i] = static_cast<std::uint8_t>(random() % SceneTiles);
    }
}

Scene RandomScene(const Console& c, std::mt19937& random) {
    Scene scene;
    const int room = 1 << c.bpp;
    const auto colour = [&] { return Rgb(random(), random(), random()); };
    const Pixel backdrop = colour();
    scene.pools.resize(static_cast<std::size_t>(c.palettes));
    for (auto& pool : scene.pools) {
        pool.push_back(backdrop);
        while (pool.size() < static_cast<std::size_t>(Is(c, "gb") ? 4 : room)) {
            pool.push_back(colour());
        }
    }
    for (int t = 0; t < SceneTiles; ++t) {
        PaintTile(scene, c, t, random);
        scene.attributes[t] = {static_cast<std::uint8_t>(ScenePalette(c, t)), random() % 2 == 0,
                               c.flips && t != 3 && t != 5 && random() % 3 == 0,
                               c.flips && t != 3 && t != 5 && random() % 3 == 0, 0};
    }
    scene.picture.Set(0, 0, backdrop);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            scene.picture.Set(TileLeft(5) + 7 - x, TileTop(5) + y,
                              scene.picture.At(TileLeft(3) + x, TileTop(3) + y));
        }
    }
    RandomCells(scene, random);
    return scene;
}

// The region w x h at (left, top) of a map as the editor draws it.
struct Region {
    int left, top, w, h;
    bool rows;
    int tileBase;
};

Surface Drawing(const Scene& scene, const MapGrid& map, const Region& r) {
    Surface drawing(16 * r.w, 16 * r.h);
    for (int y = 0; y < r.h; ++y) {
        for (int x = 0; x < r.w; ++x) {
            const int t = map(r.left + x, r.top + y);
            DrawTileFlipped(drawing, 16 * x, 16 * y, scene.picture, TileLeft(t), TileTop(t),
                            scene.attributes[t].Hflip, scene.attributes[t].Vflip);
        }
    }
    return drawing;
}

// The colours of drawings by brightness, lightest first: the Game Boy's shades.
std::vector<Pixel> Shades(std::initializer_list<const Surface*> drawings) {
    std::vector<Pixel> shades;
    for (const Surface* drawing : drawings) {
        shades.insert(shades.end(), drawing->data(),
                      drawing->data() + drawing->Width() * drawing->Height());
    }
    std::sort(shades.begin(), shades.end(), [](Pixel a, Pixel b) {
        return std::pair(Brightness(b), HexOfPixel(a)) < std::pair(Brightness(a), HexOfPixel(b));
    });
    shades.erase(std::unique(shades.begin(), shades.end()), shades.end());
    return shades;
}

// Decodes the map of one region with the tiles and palettes and compares each
// pixel with the drawing; the Game Boy's index takes its shade from BGP.
void ExpectDrawn(const Console& c, const Bytes& map, const Outputs& art, const Region& r,
                 const Surface& drawing, const std::vector<Pixel>& shades) {
    for (int ey = 0; ey < 2 * r.h; ++ey) {
        for (int ex = 0; ex < 2 * r.w; ++ex) {
            const Entry e = MapEntry(c, map, 2 * r.w, 2 * r.h, r.rows, ex, ey);
            for (int py = 0; py < 8; ++py) {
                for (int px = 0; px < 8; ++px) {
                    const int index = TilePixel(c, art.tiles, e.tile - r.tileBase,
                                                e.hflip ? 7 - px : px, e.vflip ? 7 - py : py);
                    const Pixel shown = drawing.At(8 * ex + px, 8 * ey + py);
                    if (Is(c, "gb")) {
                        ASSERT_EQ(art.palettes.size(), 1u);
                        const int shade = art.palettes[0] >> (2 * index) & 3;
                        ASSERT_EQ(shades.at(static_cast<std::size_t>(shade)), shown);
                        continue;
                    }
                    ASSERT_EQ(EntryKey(c, art.palettes, (e.palette << c.bpp) + index),
                              Reduced(c, shown))
                        << "entry " << ex << "," << ey << " pixel " << px << "," << py;
                }
            }
        }
    }
}

Settings RegionSettings(const Console& c, const Region& r, const char* numbering) {
    return {{"hardware", c.hardware},
            {"bpp", std::to_string(c.bpp)},
            {"numbering", numbering},
            {"tile-base", std::to_string(r.tileBase)},
            {"order", r.rows ? "rows" : "columns"},
            {"region", std::to_string(r.left) + "," + std::to_string(r.top) + "," +
                           std::to_string(r.w) + "," + std::to_string(r.h)}};
}

class ConsoleRoundTrip : public ::testing::TestWithParam<Console> {};

} // namespace

// Each index of a row differs, and of a column, so that a plane swap, a nibble
// order or a byte order shows: index (x + 3y) mod 8 + 8 ((x + y) mod 2) +
// 16 ((x + 2y) mod 16), cut to the depth. The palette file fixes the indices;
// the Game Boy takes its shades by brightness.
TEST(ConsoleTileFormats, GoldenBytes) {
    struct Case {
        Console console;
        const char* tile;
        const char* palettes; // the start of them
        std::size_t paletteSize;
    };
    const std::string twoPlanes = "5533AA9955CCAA665533AA9955CCAA66";
    const std::string fourPlanes = twoPlanes + "0F5578AAC3551EAAF05587AA3C55E1AA";
    const std::string eight =
        fourPlanes + "553355CC553355CC553355CC553355CC0F003C03F00FC33F0FFF3CFCF0F0C3C0";
    const Case cases[] = {
        {Consoles[0], "55AA55AA55AA55AA3399CC663399CC66", "0F162A310F0F0F0F0F0F0F0F0F0F0F0F", 16},
        {Consoles[1], twoPlanes.c_str(), "E4", 1},
        {Consoles[2], twoPlanes.c_str(), "0040014002400340", 8},
        {Consoles[3], twoPlanes.c_str(), "0040014002400340", 8},
        {Consoles[4], fourPlanes.c_str(), "004001400240034004400540", 32},
        {Consoles[5], eight.c_str(), "004001400240034004400540", 512},
        {Consoles[6], "90B2D4F64B6D0F29F690B2D4294B6D0FD4F690B20F294B6DB2D4F6906D0F294B",
         "004001400240", 32},
        {Consoles[7],
         "0019223B445D667F2B344D566F708992465F6079829BA4BD69728B94ADB6CFD0849DA6BFC0D9E2FBAFB0C9D2"
         "EBF40D16C2DBE4FD061F2039EDF60F1029324B54",
         "004001400240", 512},
        {Consoles[8], "092B4D6FB4D6F0926F092B4D92B4D6F04D6F092BF092B4D62B4D6F09D6F092B4",
         "0E000E020E040E06", 32},
    };
    for (const Case& c : cases) {
        const Console& console = c.console;
        const int room = 1 << console.bpp;
        // Colours that stay apart at every depth, their low bits set so that a
        // rounding in place of the top bits shows.
        std::vector<Pixel> colours;
        for (int i = 0; i < room; ++i) {
            if (Is(console, "md")) {
                colours.push_back(Rgb((i & 7) << 5 | 0x1F, (i >> 3) << 5 | 0x10, 0xFF));
            } else if (Is(console, "nes")) {
                colours.push_back(BuiltInNesPalette()[std::array{0x0F, 0x16, 0x2A, 0x31}[i]]);
            } else if (Is(console, "gb")) {
                colours.push_back(Rgb(255 - 85 * i, 255 - 85 * i, 255 - 85 * i));
            } else {
                colours.push_back(Rgb((i & 31) << 3, (i >> 5) << 3 | 4, 0x87));
            }
        }
        Surface picture(PaletteWidth, PaletteHeight);
        picture.Clear(colours[0]);
        for (int y = 0; y < 8; ++y) {
            for (int x = 0; x < 8; ++x) {
                const int index = (x + 3 * y) % 8 + 8 * ((x + y) % 2) + 16 * ((x + 2 * y) % 16);
                picture.Set(x, y, colours[static_cast<std::size_t>(index & (room - 1))]);
            }
        }
        const auto out = Export(MapGrid{}, {}, picture,
                                {{"hardware", console.hardware},
                                 {"bpp", std::to_string(console.bpp)},
                                 {"region", Is(console, "nes") ? "0,0,16,15" : "0,0,1,1"},
                                 {"numbering", "unique"}},
                                Is(console, "gb") ? std::vector<Pixel>{} : colours);
        ASSERT_TRUE(out.ok()) << out.message();
        // The pattern, then the quarters of the backdrop alone, stored once.
        EXPECT_EQ(Hex(out.value().tiles), c.tile + std::string(2 * 8 * console.bpp, '0'))
            << console.hardware << console.bpp;
        EXPECT_EQ(Hex(out.value().palettes).substr(0, std::string(c.palettes).size()), c.palettes)
            << console.hardware << console.bpp;
        EXPECT_EQ(out.value().palettes.size(), c.paletteSize) << console.hardware;
    }
}

TEST_P(ConsoleRoundTrip, DecodeToTheEditorsDrawing) {
    const Console& c = GetParam();
    std::mt19937 random(7);
    for (const char* numbering : {"", "unique"}) {
        const Scene scene = RandomScene(c, random);
        const bool nes = Is(c, "nes");
        Region r{static_cast<int>(random() % 200),
                 static_cast<int>(random() % 200),
                 nes ? 16 : 2 + static_cast<int>(random() % 11),
                 nes ? 15 : 1 + static_cast<int>(random() % 12),
                 nes || random() % 2 == 0,
                 numbering[0] != '\0' ? 16 : 0};
        // The two mirror images, side by side at the region's top-left.
        MapGrid map = scene.map;
        map(r.left, r.top) = 3;
        map(r.left + 1, r.top) = 5;
        const auto out =
            Export(map, scene.attributes, scene.picture, RegionSettings(c, r, numbering));
        ASSERT_TRUE(out.ok()) << out.message();
        const Outputs& o = out.value();
        const Surface drawing = Drawing(scene, map, r);
        ExpectDrawn(c, o.map, o, r, drawing, Shades({&drawing}));
        if (numbering[0] != '\0') { // tile 5's top-left: tile 3's, mirrored
            const Entry a = MapEntry(c, o.map, 2 * r.w, 2 * r.h, r.rows, 0, 0);
            const Entry b = MapEntry(c, o.map, 2 * r.w, 2 * r.h, r.rows, 2, 0);
            EXPECT_EQ(b.tile == a.tile, c.flips);
            EXPECT_EQ(std::pair(b.hflip, b.vflip), std::pair(c.flips, false));
        }
    }
}

// A second map joins the bank the first filled: the first map's entries stay
// as they were, and both decode with the grown bank's tiles and palettes.
TEST_P(ConsoleRoundTrip, BankKeepsNumbersAsMapsJoin) {
    const Console& c = GetParam();
    std::mt19937 random(11);
    const Scene first = RandomScene(c, random);
    Scene second = first; // most tiles shared, a few repainted, the cells moved
    for (int t = 40; t < SceneTiles; ++t) {
        PaintTile(second, c, t, random);
    }
    RandomCells(second, random);
    const Region r{0, 0, 16, Is(c, "nes") ? 15 : 12, !Is(c, "nes") && c.bpp == 4, 8};
    const Settings settings = RegionSettings(c, r, "");
    const auto filled = Export(first.map, first.attributes, first.picture, settings, {},
                               std::make_shared<const TileBank>());
    ASSERT_TRUE(filled.ok()) << filled.message();
    // The bank goes through its text, as the file keeps it.
    const std::string text = WriteTileBankText(*filled.value().bank);
    const auto bank = ParseTileBank(text, "level.tilebank");
    ASSERT_TRUE(bank.ok()) << bank.message() << "\n" << text;
    EXPECT_EQ(bank.value(), *filled.value().bank);
    const auto joined = Export(second.map, second.attributes, second.picture, settings, {},
                               std::make_shared<const TileBank>(bank.value()));
    ASSERT_TRUE(joined.ok()) << joined.message();
    const Outputs& grown = joined.value();
    EXPECT_GT(grown.bank->Tiles.size(), bank.value().Tiles.size());
    EXPECT_TRUE(std::equal(bank.value().Tiles.begin(), bank.value().Tiles.end(),
                           grown.bank->Tiles.begin()));
    const auto again = Export(first.map, first.attributes, first.picture, settings, {},
                              std::make_shared<const TileBank>(*grown.bank));
    ASSERT_TRUE(again.ok()) << again.message();
    EXPECT_EQ(again.value().map, filled.value().map);
    EXPECT_EQ(again.value().tiles, grown.tiles);
    const Surface a = Drawing(first, first.map, r), b = Drawing(second, second.map, r);
    ExpectDrawn(c, filled.value().map, grown, r, a, Shades({&a, &b}));
    ExpectDrawn(c, grown.map, grown, r, b, Shades({&a, &b}));
}

INSTANTIATE_TEST_SUITE_P(EveryDepth, ConsoleRoundTrip, ::testing::ValuesIn(Consoles),
                         [](const auto& info) {
                             return std::string(info.param.hardware) +
                                    std::to_string(info.param.bpp);
                         });

namespace {

// Tile t's quarter q painted with colours, one a pixel from the left of row 0.
void Paint(Surface& picture, int tile, int quarter, const std::vector<Pixel>& colours) {
    for (std::size_t x = 0; x < colours.size(); ++x) {
        picture.Set(TileLeft(tile) + 8 * (quarter % 2) + static_cast<int>(x),
                    TileTop(tile) + 8 * (quarter / 2), colours[x]);
    }
}

constexpr Pixel Red = Rgb(255, 0, 0), Green = Rgb(0, 255, 0), Blue = Rgb(0, 0, 255),
                Grey = Rgb(128, 128, 128);

} // namespace

TEST(ConsoleTileFormats, RefusesNamingTheTileItsQuarterAndTheCounts) {
    Surface picture(PaletteWidth, PaletteHeight); // black: the backdrop
    Paint(picture, 37, 1, {Red, Green, Blue, Grey});
    Paint(picture, 1, 0, {Red, Green});
    Paint(picture, 2, 0, {Blue, Grey, White});
    Paint(picture, 3, 3, {Red});
    TileAttributeTable attributes;
    attributes[37].Palette = 2;
    attributes[4].Palette = 2;
    attributes[5].Hflip = true;
    attributes[6].Palette = 9;
    MapGrid map;
    map(0, 0) = 37, map(1, 0) = 1, map(2, 0) = 2, map(3, 0) = 3, map(4, 0) = 6;
    map(9, 9) = 4, map(8, 8) = 5;
    const Settings snes2 = {{"hardware", "snes"}, {"bpp", "2"}};
    const auto with = [](Settings settings, const Settings& more) {
        settings.insert(settings.end(), more.begin(), more.end());
        return settings;
    };
    const struct {
        Settings settings;
        std::string message;
        std::vector<Pixel> file = {};
    } cases[] = {
        {with(snes2, {{"region", "0,0,1,1"}}),
         "Tile 37, top right, needs 5 colours; palette 2 has room for 4 with the backdrop."},
        {with(snes2, {{"region", "1,0,2,1"}}),
         "Palette 0 has room for 4 colours with the backdrop, but its tiles together need 6; "
         "tile 2, top left, brings the 5th."},
        {{{"hardware", "gb"}, {"region", "1,0,2,1"}},
         "The gb has 4 shades, but the tiles together use 6 colours; tile 2, top left, brings "
         "the 5th."},
        {with(snes2, {{"region", "1,0,1,1"}}),
         "Tile 1, top left, has colour #00FF00, which palette 0 of the palette file does not "
         "hold (the backdrop and the file's colours 1 to 3).",
         {Black, Red, Blue}},
        {{{"hardware", "snes"},
          {"region", "1,0,3,1"},
          {"numbering", "unique"},
          {"tile-base", "1021"}},
         "Numbering unique stores 4 8 x 8 tiles from tile-base 1021, but the snes map holds "
         "tiles 0 to 1023; tile 3, bottom right, is the 4th."},
        {{{"hardware", "snes"}, {"bpp", "8"}, {"region", "9,9,1,1"}},
         "Tile 4 has palette 2, but at bpp 8 the snes has one palette of 256 colours; set the "
         "palette in tile 4's attributes to 0."},
        {{{"hardware", "gb"}, {"region", "9,9,1,1"}},
         "Cell (9, 9), tile 4, has palette 2, but the gb map holds palette 0 only"},
        {{{"hardware", "gb"}, {"region", "8,8,1,1"}}, "tile 5, is flipped, but the gb map"},
        // The settings that shape the tiles, against the hardware and each other.
        {{{"hardware", "nes"}, {"bpp", "4"}, {"region", "0,0,16,15"}},
         "The bpp setting must be 2 with hardware nes, not \"4\"."},
        {{{"hardware", "gba"}, {"bpp", "2"}}, "must be 4 or 8 with hardware gba"},
        {{{"region", "0,0,1,1"}},
         "The tiles setting writes them in a console's own format and needs a hardware"},
        {with(snes2, {{"format", "csv"}}), "must be raw, c or asm with tiles or palettes"},
        {with(snes2, {{"backdrop", "102030"}, {"palette-file", "p.gpl"}}),
         "cannot go with palette-file"},
        {{{"hardware", "gb"}, {"backdrop", "#102030"}}, "has no part with hardware gb"},
        {with(snes2, {{"nes-palette", "fceux.pal"}}), "needs hardware nes"},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(Refused(Export(map, attributes, picture, c.settings, c.file), c.message));
    }
    ArtInputs art;
    art.Picture = &picture;
    EXPECT_TRUE(Refused(
        ExportMap(map, {}, Make({{"hardware", "md"}, {"tiles", "./map.bin"}}), "map.bin", &art),
        "would write ./map.bin twice"));

    // For the budget every problem is listed, in image numbering's order of
    // the stored tiles, each naming what to change.
    const auto tiles =
        MakeConsoleTiles(map, attributes, Make(with(snes2, {{"region", "0,0,5,1"}})), art);
    std::vector<std::tuple<int, int, int>> named;
    for (const ArtProblem& problem : tiles.Problems) {
        named.emplace_back(problem.Tile, problem.Quarter, problem.Palette);
    }
    EXPECT_EQ(named, (std::vector<std::tuple<int, int, int>>{{6, -1, -1}, {2, 0, 0}, {37, 1, 2}}));
    EXPECT_EQ(tiles.Palettes.at(0).size(), 6u); // the backdrop, tile 1's two, tile 2's three
    EXPECT_EQ(std::tuple(tiles.Room, tiles.PaletteLimit, tiles.TileLimit), std::tuple(4, 8, 1024));
}

TEST(ConsoleColours, NesNearestGimpAndEmulatorPalettes) {
    const ColourDepth nes(ExportHardware::Nes);
    const std::pair<Pixel, ConsoleColour> nearest[] = {
        {Black, 0x0F},                 // $0D, $0E are black too, and avoided
        {Rgb(0xFC, 0xFC, 0xFC), 0x20}, // $30 is the same white: the lower index
        {Rgb(0x76, 0x76, 0x76), 0x00}, // as far from $00 as from $2D
        {Rgb(0x79, 0x78, 0x78), 0x2D},
    };
    for (const auto& [colour, index] : nearest) {
        EXPECT_EQ(nes.Reduce(colour), index) << HexColourText(colour);
    }
    std::string pal(192, '\0');
    pal[3 * 5] = '\x12', pal[3 * 5 + 1] = '\x34', pal[3 * 5 + 2] = '\x56';
    const auto own = ParseNesPalette(pal, "own.pal");
    ASSERT_TRUE(own.ok());
    EXPECT_EQ(ColourDepth(ExportHardware::Nes, own.value()).Reduce(Rgb(0x12, 0x34, 0x57)), 5u);
    EXPECT_TRUE(Refused(ParseNesPalette(std::string(191, '\0'), "x.pal"), "holds 191 bytes"));
    EXPECT_EQ(ParseNesPalette(std::string(1536, '\0'), "x.pal").ok(), true);

    const auto gpl = ParseGimpPalette(
        "GIMP Palette\r\nName: level\nColumns: 4\n# comment\n\n  0 16 255\tsky\n255 255 255\n",
        "level.gpl");
    ASSERT_TRUE(gpl.ok()) << gpl.message();
    EXPECT_EQ(gpl.value(), (std::vector<Pixel>{Rgb(0, 16, 255), White}));
    const std::pair<std::string, std::string> damaged[] = {
        {"JASC-PAL\n", "its first line is not \"GIMP Palette\""},
        {"GIMP Palette\n1 2\n", "line 2 is not a colour"},
        {"GIMP Palette\n\n1 2 256\n", "line 3 is not a colour"},
        {"GIMP Palette\n# none\n", "it holds no colours"},
    };
    for (const auto& [bytes, message] : damaged) {
        EXPECT_TRUE(Refused(ParseGimpPalette(bytes, "p.gpl"), "GIMP palette p.gpl: " + message));
    }
}

TEST(TileBanks, RefusalsNameTheBankAndTheMap) {
    Surface picture(PaletteWidth, PaletteHeight); // black: the backdrop
    Paint(picture, 1, 0, {Red, Green});
    MapGrid map;
    map(0, 0) = 1;
    TileBank full{ExportHardware::Snes, 4, std::vector<TileIndices>(1023), {{0, 0x1F}}};
    for (std::size_t n = 0; n < full.Tiles.size(); ++n) {
        full.Tiles[n][0] = static_cast<std::uint8_t>(n % 16), full.Tiles[n][1] = n / 16 % 16;
        full.Tiles[n][2] = static_cast<std::uint8_t>(n / 256 + 1);
    }
    const auto bank = [](TileBank b) { return std::make_shared<const TileBank>(std::move(b)); };
    const Settings snes = {{"hardware", "snes"}, {"region", "0,0,1,1"}};
    const auto with = [&](const Settings& more) {
        Settings settings = snes;
        settings.insert(settings.end(), more.begin(), more.end());
        return settings;
    };
    const std::tuple<Settings, std::vector<Pixel>, std::shared_ptr<const TileBank>, std::string>
        cases[] = {
            {snes,
             {},
             bank({ExportHardware::Gba, 4, {}, {}}),
             "The tile bank level.tilebank holds gba tiles at bpp 4, but this export is snes at "
             "bpp 4; maps that share a bank share the hardware and bpp."},
            {with({{"backdrop", "FFFFFF"}}),
             {},
             bank(full),
             "The backdrop setting gives #FFFFFF, but the tile bank level.tilebank's backdrop is "
             "#000000"},
            {snes,
             {Black, Green, Red},
             bank(full),
             "Palette 0 of the tile bank level.tilebank has colour #FF0000 at entry 1, but the "
             "palette file has #00FF00 there; a bank keeps its colours' numbers."},
            {snes,
             {},
             bank(full),
             "The tile bank level.tilebank would hold 1025 8 x 8 tiles, but the snes map names "
             "tiles 0 to 1023 and tile-base is 0; this map adds 2, and tile 1, top right, is the "
             "1025th."},
            {with({{"tile-base", "4"}}),
             {},
             bank(full),
             "The tile bank level.tilebank holds 1023 8 x 8 tiles, but the snes map names tiles "
             "0 to 1023 and tile-base is 4."},
            {with({{"numbering", "image"}}), {}, bank({}), "needs numbering unique (or empty)"},
        };
    for (const auto& [settings, file, shared, message] : cases) {
        EXPECT_TRUE(Refused(Export(map, {}, picture, settings, file, shared), message));
    }
    EXPECT_TRUE(Refused(CheckExportSettings(Make({{"bank", "w.tilebank"}})),
                        "The bank setting keeps 8 x 8 tiles in a console's own format"));
    // The bank's colours keep their numbers; the Game Boy's BGP gives each its shade.
    const auto joined = Export(map, {}, picture, snes, {}, bank(TileBank{}));
    ASSERT_TRUE(joined.ok()) << joined.message();
    EXPECT_EQ(joined.value().bank->Palettes,
              (std::vector<std::vector<ConsoleColour>>{{0, 0x1F, 0x3E0}}));
    EXPECT_EQ(PaletteBytes(ExportHardware::Gb, 2, {{0x000000, 0xFFFFFF}}), Bytes{0xE1});
}

TEST(TileBanks, DamagedTextIsRefusedNamingTheLine) {
    const std::string head = "TESSRA tile bank\nconsole snes\nbpp 2\n";
    const std::pair<std::string, std::string> damaged[] = {
        {"TESSRA tiles\n", "its first line is not \"TESSRA tile bank\""},
        {"TESSRA tile bank\nconsole psx\n", "line 2 names no console TESSRA exports"},
        {"TESSRA tile bank\nconsole gba\nbpp 2\n", "line 3 gives bpp 2; the gba takes 4 or 8"},
        {"TESSRA tile bank\ntile 0\n", "line 2 comes before the console line"},
        {head + "palette 1 0000\n", "line 4 should be palette 0"},
        {head + "palette 0 0000 8000\n", "line 4 holds \"8000\", which is no snes colour"},
        {head + "palette 0 0000\npalette 1 001F\n",
         "line 5 starts with 001F, but every sub-palette starts with the backdrop, 0000"},
        {head + "palette 0 0000 0001 0002 0003 0004\n", "line 4 holds 5 colours"},
        {head + "tile 1 00000000 00000000 00000000 00000000 00000000 00000000 00000000 00000000",
         "line 4 should be tile 0"},
        {head + "tile 0 00000004 00000000 00000000 00000000 00000000 00000000 00000000 00000000",
         "line 4 row 0 \"00000004\" is not 8 colour indices below 4"},
        {head + "tile 0 00000000\n", "line 4 should hold 8 rows"},
    };
    for (const auto& [text, message] : damaged) {
        EXPECT_TRUE(Refused(ParseTileBank(text, "w.tilebank"),
                            "Cannot read the tile bank w.tilebank: " + message));
    }
    EXPECT_EQ(ParseTileBank("", "w.tilebank").value(), TileBank{});
    TileBank bank{ExportHardware::Md, 4, {TileIndices{}, TileIndices{}, TileIndices{}}, {}};
    bank.Tiles[2][63] = 15;
    EXPECT_EQ(CompactTileBank(bank, {true, false, true}), (std::vector<int>{0, -1, 1}));
    EXPECT_EQ(bank.Tiles.size(), 2u);
    EXPECT_EQ(bank.Tiles[1][63], 15);
}
