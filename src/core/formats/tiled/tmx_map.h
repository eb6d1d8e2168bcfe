#pragma once

#include "core/base/result.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tessra {

// What TESSRA reads of a Tiled tileset, from a map or a tileset file of
// either of Tiled's formats (XML .tmx/.tsx or JSON .tmj/.tsj).
struct TiledTileset {
    long long firstGid = 0; // from the map; 0 in a tileset file
    std::string source;     // the tileset file the map refers to, as written
    std::string name;
    long long tileWidth = 0, tileHeight = 0;
    long long margin = 0, spacing = 0;
    std::string image;            // the picture, as written (relative to its file's folder)
    bool imageCollection = false; // pictures per tile instead of one picture
};

// The first tile layer of a map.
struct TiledLayer {
    std::string name;
    long long width = 0, height = 0;
    std::string encoding;    // "csv", "base64", or empty when gids holds the cells
    std::string compression; // with base64: empty, "zlib", "gzip" or "zstd"
    std::string text;        // the CSV or base64 data
    std::vector<std::uint32_t> gids;
    bool chunked = false; // an infinite map's layer keeps its cells in chunks
};

struct TiledMap {
    std::string orientation = "orthogonal";
    long long width = 0, height = 0;
    long long tileWidth = 0, tileHeight = 0;
    bool infinite = false;
    std::vector<TiledTileset> tilesets;
    std::vector<std::string> tileLayerNames; // every tile layer, groups included, in order
    TiledLayer layer;                        // the first of them
};

// What a parsed document costs grows with the number of its values (XML
// elements and attributes, JSON values and keys), not with the file's size:
// two million, thirty layers of 256 x 256 numbers, bound it to a few hundred
// megabytes. A file that holds more is refused before it is parsed.
inline constexpr std::size_t TiledMostValues = 2'000'000;

// Parse a map or a tileset file, XML or JSON as its first character says. A
// refusal says what is malformed and, where it can, on which line.
Result<TiledMap> ParseTiledMap(std::string_view text);
Result<TiledTileset> ParseTiledTileset(std::string_view text);

Result<TiledMap> ParseTiledMapXml(std::string_view text);
Result<TiledTileset> ParseTiledTilesetXml(std::string_view text);
Result<TiledMap> ParseTiledMapJson(std::string_view text);
Result<TiledTileset> ParseTiledTilesetJson(std::string_view text);

} // namespace tessra
