// Tiled's XML formats: maps (.tmx) and tileset files (.tsx), read with pugixml.
#include "core/base/message_text.h"
#include "core/formats/tiled/tmx_map.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <optional>
#include <pugixml.hpp>

namespace tessra {

namespace {

constexpr long long MaxGid = 0xFFFFFFFFLL;

// Reads attributes, keeping the first complaint (with its line) for the end.
class Attributes {
  public:
    explicit Attributes(std::string_view text) : text_(text) {}

    long long Number(pugi::xml_node node, const char* name, long long fallback = 0,
                     long long max = INT32_MAX) {
        const pugi::xml_attribute attribute = node.attribute(name);
        if (!attribute) {
            return fallback;
        }
        const std::string_view value = attribute.value();
        long long number = 0;
        const auto [end, error] =
            std::from_chars(value.data(), value.data() + value.size(), number);
        if (value.empty() || error != std::errc{} || end != value.data() + value.size() ||
            number < 0 || number > max) {
            Complain(node, std::string(name) + "=\"" + Shortened(value) +
                               "\" is not a whole number from 0 to " + std::to_string(max));
            return fallback;
        }
        return number;
    }

    void Complain(pugi::xml_node node, const std::string& what) {
        if (!complaint_) {
            complaint_ = "line " + std::to_string(LineAt(node.offset_debug())) + ": <" +
                         node.name() + "> " + what;
        }
    }

    Status status() const { return complaint_ ? Status(Error{*complaint_}) : Status(); }

    int LineAt(std::ptrdiff_t offset) const {
        const auto end = text_.begin() + std::clamp<std::ptrdiff_t>(offset, 0, text_.size());
        return 1 + static_cast<int>(std::count(text_.begin(), end, '\n'));
    }

  private:
    std::string_view text_;
    std::optional<std::string> complaint_;
};

bool Named(pugi::xml_node node, std::string_view name) {
    return name == node.name();
}

Result<pugi::xml_node> LoadRoot(pugi::xml_document& document, std::string_view text,
                                const char* root, const Attributes& read) {
    // Every element starts with '<' and every attribute holds '=': together
    // they bound the nodes the parser makes.
    const auto count = [&](char c) {
        return static_cast<std::size_t>(std::count(text.begin(), text.end(), c));
    };
    if (count('<') + count('=') > TiledMostValues) {
        return Error{"it holds more than " + std::to_string(TiledMostValues) +
                     " elements and attributes, far more than a map of 256 x 256 cells needs"};
    }
    const pugi::xml_parse_result parsed = document.load_buffer(text.data(), text.size());
    if (!parsed) {
        return Error{"the XML is malformed at line " + std::to_string(read.LineAt(parsed.offset)) +
                     " (" + parsed.description() + ")"};
    }
    const pugi::xml_node element = document.document_element();
    if (!Named(element, root)) {
        return Error{"its XML holds <" + std::string(element.name()) + ">, not a Tiled <" + root +
                     ">"};
    }
    return element;
}

TiledTileset ReadTileset(pugi::xml_node node, Attributes& read) {
    TiledTileset tileset;
    tileset.firstGid = read.Number(node, "firstgid", 0, MaxGid);
    tileset.source = node.attribute("source").value();
    tileset.name = node.attribute("name").value();
    tileset.tileWidth = read.Number(node, "tilewidth");
    tileset.tileHeight = read.Number(node, "tileheight");
    tileset.margin = read.Number(node, "margin");
    tileset.spacing = read.Number(node, "spacing");
    if (const pugi::xml_node image = node.child("image")) {
        tileset.image = image.attribute("source").value();
    } else {
        tileset.imageCollection = static_cast<bool>(node.find_child(
            [](pugi::xml_node tile) { return Named(tile, "tile") && tile.child("image"); }));
    }
    return tileset;
}

TiledLayer ReadLayer(pugi::xml_node node, Attributes& read) {
    TiledLayer layer;
    layer.name = node.attribute("name").value();
    layer.width = read.Number(node, "width");
    layer.height = read.Number(node, "height");
    const pugi::xml_node data = node.child("data");
    layer.encoding = data.attribute("encoding").value();
    layer.compression = data.attribute("compression").value();
    layer.chunked = static_cast<bool>(data.child("chunk"));
    if (!layer.encoding.empty()) {
        layer.text = data.child_value();
        return layer;
    }
    for (const pugi::xml_node tile : data.children("tile")) {
        layer.gids.push_back(static_cast<std::uint32_t>(read.Number(tile, "gid", 0, MaxGid)));
    }
    return layer;
}

// The next element in document order, going into groups but no deeper.
pugi::xml_node NextLayer(pugi::xml_node node, pugi::xml_node map) {
    if (Named(node, "group") && node.first_child()) {
        return node.first_child();
    }
    for (; node && node != map; node = node.parent()) {
        if (node.next_sibling()) {
            return node.next_sibling();
        }
    }
    return {};
}

} // namespace

Result<TiledMap> ParseTiledMapXml(std::string_view text) {
    pugi::xml_document document;
    Attributes read(text);
    const Result<pugi::xml_node> root = LoadRoot(document, text, "map", read);
    if (!root) {
        return Error{root.message()};
    }
    const pugi::xml_node node = root.value();
    TiledMap map;
    map.orientation = node.attribute("orientation").as_string("orthogonal");
    map.width = read.Number(node, "width");
    map.height = read.Number(node, "height");
    map.tileWidth = read.Number(node, "tilewidth");
    map.tileHeight = read.Number(node, "tileheight");
    map.infinite = read.Number(node, "infinite") != 0;
    for (const pugi::xml_node tileset : node.children("tileset")) {
        map.tilesets.push_back(ReadTileset(tileset, read));
    }
    for (pugi::xml_node layer = node.first_child(); layer; layer = NextLayer(layer, node)) {
        if (Named(layer, "layer")) {
            if (map.tileLayerNames.empty()) {
                map.layer = ReadLayer(layer, read);
            }
            map.tileLayerNames.push_back(layer.attribute("name").value());
        }
    }
    if (Status status = read.status(); !status) {
        return Error{status.message()};
    }
    return map;
}

Result<TiledTileset> ParseTiledTilesetXml(std::string_view text) {
    pugi::xml_document document;
    Attributes read(text);
    const Result<pugi::xml_node> root = LoadRoot(document, text, "tileset", read);
    if (!root) {
        return Error{root.message()};
    }
    TiledTileset tileset = ReadTileset(root.value(), read);
    if (Status status = read.status(); !status) {
        return Error{status.message()};
    }
    return tileset;
}

} // namespace tessra
