#include "core/formats/tiled/tmx_writer.h"

#include "core/render/palette_build.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <pugixml.hpp>
#include <sstream>
#include <string_view>

namespace tessra {

namespace {

// The Tiled version whose map format this writes; Debian 12 ships Tiled 1.8.
constexpr const char* FormatVersion = "1.8";

std::string Lowercase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::uint32_t Gid(const MapGrid& map, int x, int y) {
    return map(x, y) + 1u;
}

// Tiled's own layout: a line per row, every row but the last ending in a comma.
std::string CsvData(const MapGrid& map) {
    std::string csv = "\n";
    for (int y = 0; y < MapSize; ++y) {
        for (int x = 0; x < MapSize; ++x) {
            csv += std::to_string(Gid(map, x, y));
            csv += x + 1 < MapSize || y + 1 < MapSize ? "," : "";
        }
        csv += '\n';
    }
    return csv;
}

template <class T> void Set(pugi::xml_node node, const char* name, T value) {
    node.append_attribute(name) = value;
}

// A name from a file name need not be UTF-8, and the XML must be: bytes that
// are not become U+FFFD, as the JSON writer makes them.
std::string AsUtf8(const std::string& text) {
    using Json = nlohmann::json;
    return Json::parse(Json(text).dump(-1, ' ', false, Json::error_handler_t::replace))
        .get<std::string>();
}

std::string WriteTmx(const MapGrid& map, const std::string& fileName, const std::string& image) {
    const std::string name = AsUtf8(fileName);
    pugi::xml_document document;
    pugi::xml_node declaration = document.append_child(pugi::node_declaration);
    Set(declaration, "version", "1.0");
    Set(declaration, "encoding", "UTF-8");
    pugi::xml_node root = document.append_child("map");
    Set(root, "version", FormatVersion);
    Set(root, "orientation", "orthogonal");
    Set(root, "renderorder", "right-down");
    Set(root, "width", MapSize);
    Set(root, "height", MapSize);
    Set(root, "tilewidth", TileSize);
    Set(root, "tileheight", TileSize);
    Set(root, "infinite", 0);
    Set(root, "nextlayerid", 2);
    Set(root, "nextobjectid", 1);
    pugi::xml_node tileset = root.append_child("tileset");
    Set(tileset, "firstgid", 1);
    Set(tileset, "name", name.c_str());
    Set(tileset, "tilewidth", TileSize);
    Set(tileset, "tileheight", TileSize);
    Set(tileset, "tilecount", TileCount);
    Set(tileset, "columns", PaletteColumns);
    pugi::xml_node picture = tileset.append_child("image");
    Set(picture, "source", image.c_str());
    Set(picture, "width", PaletteWidth);
    Set(picture, "height", PaletteHeight);
    pugi::xml_node layer = root.append_child("layer");
    Set(layer, "id", 1);
    Set(layer, "name", name.c_str());
    Set(layer, "width", MapSize);
    Set(layer, "height", MapSize);
    pugi::xml_node data = layer.append_child("data");
    Set(data, "encoding", "csv");
    data.append_child(pugi::node_pcdata).set_value(CsvData(map).c_str());
    std::ostringstream out;
    document.save(out, " ");
    return out.str();
}

std::string WriteTmj(const MapGrid& map, const std::string& name, const std::string& image) {
    using Json = nlohmann::ordered_json;
    // The cells replace this after the dump, one map row a line as Tiled
    // writes them. Quotes inside a value are escaped, so only the key matches.
    constexpr std::string_view DataKey = "\"data\": \"cells\"";
    const Json layer = {{"data", "cells"}, {"height", MapSize}, {"id", 1},
                        {"name", name},    {"opacity", 1},      {"type", "tilelayer"},
                        {"visible", true}, {"width", MapSize},  {"x", 0},
                        {"y", 0}};
    const Json tileset = {{"columns", PaletteColumns},
                          {"firstgid", 1},
                          {"image", image},
                          {"imageheight", PaletteHeight},
                          {"imagewidth", PaletteWidth},
                          {"margin", 0},
                          {"name", name},
                          {"spacing", 0},
                          {"tilecount", TileCount},
                          {"tileheight", TileSize},
                          {"tilewidth", TileSize}};
    const Json root = {{"type", "map"},
                       {"version", FormatVersion},
                       {"orientation", "orthogonal"},
                       {"renderorder", "right-down"},
                       {"width", MapSize},
                       {"height", MapSize},
                       {"tilewidth", TileSize},
                       {"tileheight", TileSize},
                       {"infinite", false},
                       {"nextlayerid", 2},
                       {"nextobjectid", 1},
                       {"tilesets", Json::array({tileset})},
                       {"layers", Json::array({layer})}};
    // A name from a file name need not be UTF-8; JSON text must be.
    std::string text = root.dump(1, ' ', false, Json::error_handler_t::replace) + '\n';
    std::string cells = "\"data\": [";
    for (int y = 0; y < MapSize; ++y) {
        cells += "\n    ";
        for (int x = 0; x < MapSize; ++x) {
            cells += std::to_string(Gid(map, x, y));
            cells += x + 1 < MapSize || y + 1 < MapSize ? "," : "";
        }
    }
    cells += "\n   ]";
    return text.replace(text.find(DataKey), DataKey.size(), cells);
}

} // namespace

std::optional<TiledFormat> TiledFormatOf(const std::string& path) {
    const std::string extension = Lowercase(std::filesystem::path(path).extension().string());
    if (extension == ".tmx") {
        return TiledFormat::Tmx;
    }
    if (extension == ".tmj") {
        return TiledFormat::Tmj;
    }
    return std::nullopt;
}

std::string TiledPalettePath(const std::string& mapPath) {
    return std::filesystem::path(mapPath).replace_extension(".tiles.png").string();
}

std::string WriteTiledMap(const MapGrid& map, TiledFormat format, const std::string& name,
                          const std::string& image) {
    return format == TiledFormat::Tmx ? WriteTmx(map, name, image) : WriteTmj(map, name, image);
}

} // namespace tessra
