#include "core/formats/image_encoders.h"
#include "core/formats/tiled/tmx_import.h"
#include "core/formats/tiled/tmx_writer.h"
#include "support/picture_files.h"

#include <algorithm>
#include <array>
#include <gtest/gtest.h>
#include <map>
#include <nlohmann/json.hpp>
#include <optional>

using namespace tessra;

namespace {

using Bytes = std::vector<std::uint8_t>;

const std::string TiledData = TESSRA_TEST_DATA "/tiled/";

Result<Bytes> ReadFromDisk(const std::string& path) {
    if (!std::filesystem::is_regular_file(path)) {
        return Error{"Cannot read " + path};
    }
    return ReadBytes(path);
}

Bytes AsBytes(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

std::string AsString(const Bytes& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

const std::string Terrain = R"(<tileset firstgid="1" name="terrain" tilewidth="16"
    tileheight="16"><image source="terrain.png"/></tileset>)";

// A small map in TMX, each part replaceable; as it stands it imports.
struct MapText {
    std::string map = R"(orientation="orthogonal" width="2" height="2" tilewidth="16"
                         tileheight="16" infinite="0")";
    std::string tilesets = Terrain;
    std::string layers = R"(<layer name="L" width="2" height="2"><data encoding="csv">
                            1,2,3,0</data></layer>)";

    Bytes Tmx() const { return AsBytes("<map " + map + ">" + tilesets + layers + "</map>"); }
};

// The files a map in maps/ may name: the fixtures' pictures, a picture of
// 16 x 17 tiles, more than the palette holds, and one whose header promises
// pixels it lacks: only decoding it finds that out.
Result<Bytes> ReadMapFiles(const std::string& path) {
    static const std::map<std::string, Bytes> files = {
        {"maps/terrain.png", ReadBytes(TiledData + "terrain.png")},
        {"maps/huge.png", WithPngSize(EncodePng(Surface(16, 16)), 4096, 4096)}, // no pixels
        {"maps/props.png", ReadBytes(TiledData + "props.png")},
        {"maps/big.png", EncodePng(Surface(256, 272))},
        {"maps/bad.tsx", AsBytes("<tileset>")},
        {"maps/big.tsj", AsBytes(R"({"type": "tileset", "name": "big", "tilewidth": 16,
                                     "tileheight": 16, "image": "big.png"})")},
    };
    const auto found = files.find(path);
    if (found == files.end()) {
        return Error{"Cannot read " + path};
    }
    return found->second;
}

std::string Outcome(const Result<TiledImport>& import) {
    return import ? "imported" : import.message();
}

} // namespace

// Tiled itself saved each of these from one map (make_tiled_fixtures.py).
TEST(ImportTiledMap, EveryEncodingAndTilesetFileTiledWritesGivesTheSameMap) {
    const Result<ProjectData> expected =
        ParseProject(AsString(ReadBytes(TiledData + "expected.tessra")), "expected.tessra");
    ASSERT_TRUE(expected.ok());
    for (const char* name : {"map-csv.tmx", "map-base64.tmx", "map-zlib.tmx", "map-gzip.tmx",
                             "map-zstd.tmx", "map-csv.tmj", "map-base64.tmj", "map-zlib.tmj",
                             "map-gzip.tmj", "map-zstd.tmj", "map-embedded.tmx"}) {
        SCOPED_TRACE(name);
        const std::string path = TiledData + name;
        const Result<TiledImport> import = ImportTiledMap(ReadBytes(path), path, ReadFromDisk);
        ASSERT_TRUE(import.ok()) << import.message();
        EXPECT_TRUE(import.value().project.MapData == expected.value().MapData);
        EXPECT_EQ(import.value().project.Tilesets,
                  (std::vector<std::string>{TiledData + "terrain.png", TiledData + "props.png"}));
        EXPECT_EQ(
            DescribeTiledImport(import.value()),
            (std::vector<std::string>{"Took tile layer \"Ground\", the first of 2 tile layers.",
                                      "15 cells were empty and became tile 0.",
                                      "14 cells were flipped or rotated and lost the flags."}));
    }
}

TEST(ImportTiledMap, RefusesWhatItCannotKeepSayingWhatAndWhere) {
    const std::string props = R"(<tileset firstgid="13" name="props" tilewidth="16"
        tileheight="16"><image source="props.png"/></tileset>)";
    const auto data = [](const std::string& cells, const std::string& format = "encoding=\"csv\"") {
        return "<layer name=\"L\" width=\"2\" height=\"2\"><data " + format + ">" + cells +
               "</data></layer>";
    };
    const struct {
        MapText text;
        std::string message;
    } cases[] = {
        {{.map = R"(orientation="isometric" tilewidth="16" tileheight="16" width="2")"},
         "the map is isometric; TESSRA reads orthogonal maps only"},
        {{.map = R"(width="2" height="2" tilewidth="32" tileheight="16")"},
         "its tiles are 32 x 16 pixels; TESSRA's tiles are 16 x 16"},
        {{.map = R"(width="2" height="2" tilewidth="16" tileheight="16" infinite="1")"},
         "the map is infinite; TESSRA reads maps of a fixed size, at most 256 x 256 cells"},
        {{.map = R"(width="257" height="2" tilewidth="16" tileheight="16")"},
         "the map is 257 x 2 cells; TESSRA's map holds at most 256 x 256"},
        {{.map = R"(width="two" height="2" tilewidth="16" tileheight="16")"},
         "line 1: <map> width=\"two\" is not a whole number from 0 to 2147483647"},
        {{.layers = "<objectgroup/>"}, "the map has no tile layer"},
        {{.tilesets = R"(<tileset firstgid="1" name="icons" tilewidth="16" tileheight="16">
                           <tile id="0"><image source="a.png"/></tile></tileset>)"},
         "tileset \"icons\" is a collection of separate pictures; TESSRA reads tilesets cut "
         "from one picture"},
        {{.tilesets = R"(<tileset firstgid="1" name="small" tilewidth="8" tileheight="8">
                           <image source="terrain.png"/></tileset>)"},
         "tileset \"small\" has tiles of 8 x 8 pixels; TESSRA's tiles are 16 x 16"},
        {{.tilesets = R"(<tileset firstgid="1" tilewidth="16" tileheight="16" spacing="1">
                           <image source="terrain.png"/></tileset>)"},
         "tileset 1 has a margin of 0 and a spacing of 1 pixels; TESSRA cuts pictures with "
         "neither"},
        {{.layers = data("AAAA", R"(encoding="base64" compression="lzma")")},
         "tile layer \"L\": its compression \"lzma\" is not supported (TESSRA reads zlib, gzip "
         "and zstd)"},
        {{.layers = data("1,2,3")}, "tile layer \"L\": its data holds 3 cells, not 2 x 2"},
        {{.layers = data("1,2,3,13")},
         "Tiled tile 13 at cell (1, 1) lies past the last tile of tileset \"terrain\""},
        {{.tilesets = R"(<tileset firstgid="5" source="big.tsj"/>)", .layers = data("5,3,0,0")},
         "Tiled tile 3 at cell (1, 0) belongs to no tileset"},
        {{.tilesets = Terrain + R"(<tileset firstgid="13" source="big.tsj"/>)",
          .layers = data("1,256,257,0")},
         "Tiled tile 257 at cell (0, 1), tile 244 of tileset \"big\", has no TESSRA number: it "
         "would be tile 256, past 255"},
        {{.tilesets = Terrain + props, .layers = data("13,14,15,16")},
         "Tiled tile 16 at cell (1, 1), tile 3 of tileset \"props\", has no TESSRA number: "
         "TESSRA does not cut that square out of maps/props.png"},
        {{.tilesets = R"(<tileset firstgid="1" source="../gone.tsx"/>)"}, "Cannot read gone.tsx"},
        {{.tilesets = R"(<tileset firstgid="1" source="bad.tsx"/>)"},
         "maps/bad.tsx: the XML is malformed at line 1 (Start-end tags mismatch)"},
        {{.tilesets = R"(<tileset firstgid="1" tilewidth="16" tileheight="16">
                           <image source="gone.png"/></tileset>)"},
         "Cannot read maps/gone.png"},
        {{.tilesets = R"(<tileset firstgid="1" tilewidth="16" tileheight="16">
                           <image source=" terrain.png"/></tileset>)"},
         "maps/ terrain.png: A tileset path cannot begin or end with a blank."},
        {{.tilesets = R"(<tileset firstgid="1" tilewidth="16" tileheight="16">
                           <image source="huge.png"/></tileset>)"},
         "maps/huge.png: the file ends before its picture does (it is cut short)"},
        {{.layers = "<layer>"}, "the XML is malformed at line 3 (Start-end tags mismatch)"},
    };
    for (const auto& c : cases) {
        const Result<TiledImport> import = ImportTiledMap(c.text.Tmx(), "maps/m.tmx", ReadMapFiles);
        const bool namesFile = c.message.starts_with("Cannot") || c.message.starts_with("maps/");
        EXPECT_EQ(Outcome(import), (namesFile ? "" : "maps/m.tmx: ") + c.message);
    }
}

TEST(ImportTiledMap, RefusesJsonAndOtherTextItCannotRead) {
    const struct {
        std::string text, message;
    } cases[] = {
        {R"({"type": "tileset"})", "its JSON is a Tiled \"tileset\", not a map"},
        {R"({"width": 2, "height": "2"})",
         "the map: \"height\" is \"2\", not a whole number from 0 to 2147483647"},
        {R"({"layers": [{"type": "tilelayer", "data": [1, -1]}]})",
         "tile layer \"\": \"data\" holds -1, not a tile number"},
        {"{\"width\": 2,\n \"height\" 2}",
         "the JSON is malformed (parse error at line 2, column 11: syntax error while parsing "
         "object separator - unexpected number literal; expected ':')"},
        {R"({"width": -6E6666})", "the JSON is malformed (number overflow parsing '-6E6666')"},
        {"PK\3\4", "it is not a Tiled map (neither XML nor JSON)"},
        {"{\"width\": \xFF}", "the JSON is malformed (parse error at line 1, column 11: syntax "
                              "error while parsing value - invalid literal)"},
        {R"({"layers": [{"type": "tilelayer", "name": "\u001b[2J", "data": [-1]}]})",
         "tile layer \"\\x1B[2J\": \"data\" holds -1, not a tile number"},
        {std::string("\xFF\xFE{\0}\0", 6),
         "it is UTF-16 text; TESSRA reads UTF-8 (save it as UTF-8)"},
        {std::string("<\0m\0a\0p\0/\0>\0", 12),
         "it is UTF-16 text; TESSRA reads UTF-8 (save it as UTF-8)"},
        {"<tileset/>", "its XML holds <tileset>, not a Tiled <map>"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Outcome(ImportTiledMap(AsBytes(c.text), "m.tmj", ReadMapFiles)),
                  "m.tmj: " + c.message);
    }
}

// Tiles land where the palette puts the same squares; a smaller map fills the
// top-left and the rest is tile 0; one picture named twice is one tileset.
// Every flag bit is dropped, the hexagonal rotation bit too. A picture past
// the full palette is not decoded, as the palette does not decode it.
TEST(ImportTiledMap, NumbersTilesAsThePaletteDoesAndKeepsEachPictureOnce) {
    MapText text;
    text.tilesets = Terrain + R"(<tileset firstgid="13" name="again" tilewidth="16"
        tileheight="16"><image source="./terrain.png"/></tileset>
        <tileset firstgid="25" source="big.tsj"/>
        <tileset firstgid="400" tilewidth="16" tileheight="16"><image source="huge.png"/>
        </tileset>)";
    text.layers = R"(<layer name="L" width="2" height="2"><data encoding="csv">
                     2,14,25,268435724</data></layer>)"; // 268 with that bit
    const Result<TiledImport> import = ImportTiledMap(text.Tmx(), "maps/m.tmx", ReadMapFiles);
    ASSERT_TRUE(import.ok()) << import.message();
    const ProjectData& project = import.value().project;
    EXPECT_EQ(project.Tilesets,
              (std::vector<std::string>{"maps/terrain.png", "maps/big.png", "maps/huge.png"}));
    const int cells[][3] = {{0, 0, 1}, {1, 0, 1}, {0, 1, 12}, {1, 1, 255}, {2, 0, 0}, {0, 2, 0}};
    for (const auto& [x, y, tile] : cells) {
        EXPECT_EQ(project.MapData(x, y), tile) << x << ',' << y;
    }
}

TEST(WriteTiledMap, FormatAndPictureFollowTheName) {
    const struct {
        const char* name;
        std::optional<TiledFormat> format;
        const char* picture;
    } cases[] = {
        {"maps/level.tmx", TiledFormat::Tmx, "maps/level.tiles.png"},
        {"level.TMJ", TiledFormat::Tmj, "level.tiles.png"},
        {"a.b/level", std::nullopt, "a.b/level.tiles.png"},
        {"level.json", std::nullopt, "level.tiles.png"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TiledFormatOf(c.name), c.format) << c.name;
        EXPECT_EQ(TiledPalettePath(c.name), c.picture) << c.name;
    }
}

// The JSON map keeps one map row a line, as Tiled writes it, not one number a
// line; a JSON reader takes every cell back in order, Tiled's numbers from 1.
TEST(WriteTiledMap, JsonKeepsOneMapRowALine) {
    MapGrid map;
    for (int i = 0; i < CellCount; ++i) {
        map.data()[i] = static_cast<std::uint8_t>(i * 7 % 256);
    }
    const std::string text =
        WriteTiledMap(map, TiledFormat::Tmj, "level \"data\": \"cells\"", "p.png");
    EXPECT_LT(std::count(text.begin(), text.end(), '\n'), MapSize + 60);
    const std::size_t row = text.find("\n    " + std::to_string(map(0, 1) + 1) + ",");
    ASSERT_NE(row, std::string::npos);
    EXPECT_EQ(std::count(text.begin() + row + 1, text.begin() + text.find('\n', row + 1), ','),
              MapSize);
    const nlohmann::json root = nlohmann::json::parse(text);
    const nlohmann::json& data = root["layers"][0]["data"];
    ASSERT_EQ(data.size(), std::size_t(CellCount));
    for (int i = 0; i < CellCount; ++i) {
        ASSERT_EQ(data[i].get<int>(), map.data()[i] + 1) << i;
    }
    EXPECT_EQ(root["layers"][0]["name"], "level \"data\": \"cells\"");
}
