// Tiled's JSON formats: maps (.tmj) and tileset files (.tsj), read with nlohmann-json.
#include "core/base/json_file.h"
#include "core/formats/tiled/tmx_map.h"

#include <cstdint>
#include <nlohmann/json.hpp>
#include <optional>
#include <utility>

namespace tessra {

namespace {

using Json = nlohmann::json;

constexpr long long MaxGid = 0xFFFFFFFFLL;

// A value for a message: numbers and texts as written, anything else by its
// kind (dumping a deeply nested value would recurse as deep).
std::string Describe(const Json& value) {
    if (value.is_number() || value.is_string() || value.is_boolean() || value.is_null()) {
        return value.dump();
    }
    return std::string("an ") + value.type_name();
}

// Reads fields, keeping the first complaint for the end; a field of the wrong
// type reads as its fallback.
class Fields {
  public:
    long long Number(const Json& object, const char* key, const std::string& where,
                     long long fallback = 0, long long max = INT32_MAX) {
        const Json* field = Find(object, key);
        if (!field) {
            return fallback;
        }
        if (field->is_number_unsigned() && field->get<std::uint64_t>() <= std::uint64_t(max)) {
            return field->get<long long>();
        }
        if (field->is_number_integer() && field->get<long long>() == 0) {
            return 0;
        }
        Complain(where, std::string("\"") + key + "\" is " + Describe(*field) +
                            ", not a whole number from 0 to " + std::to_string(max));
        return fallback;
    }

    std::string Text(const Json& object, const char* key, const std::string& where,
                     std::string fallback = {}) {
        const Json* field = Find(object, key);
        if (field && field->is_string()) {
            return field->get<std::string>();
        }
        if (field) {
            Complain(where, std::string("\"") + key + "\" is " + Describe(*field) + ", not a text");
        }
        return fallback;
    }

    bool Flag(const Json& object, const char* key) {
        const Json* field = Find(object, key);
        return field && (field->is_boolean() ? field->get<bool>() : *field != Json(0));
    }

    const Json* Array(const Json& object, const char* key, const std::string& where) {
        const Json* field = Find(object, key);
        if (field && !field->is_array()) {
            Complain(where, std::string("\"") + key + "\" is not a list");
            return nullptr;
        }
        return field;
    }

    void Complain(const std::string& where, const std::string& what) {
        if (!complaint_) {
            complaint_ = where + ": " + what;
        }
    }

    Status status() const { return complaint_ ? Status(Error{*complaint_}) : Status(); }

  private:
    static const Json* Find(const Json& object, const char* key) {
        if (!object.is_object()) {
            return nullptr;
        }
        const auto found = object.find(key);
        return found == object.end() ? nullptr : &*found;
    }

    std::optional<std::string> complaint_;
};

// Counts the values a parse would build, stopping past the limit.
class ValueCounter : public nlohmann::json_sax<Json> {
  public:
    bool null() override { return Count(); }
    bool boolean(bool) override { return Count(); }
    bool number_integer(number_integer_t) override { return Count(); }
    bool number_unsigned(number_unsigned_t) override { return Count(); }
    bool number_float(number_float_t, const string_t&) override { return Count(); }
    bool string(string_t&) override { return Count(); }
    bool binary(binary_t&) override { return Count(); }
    bool start_object(std::size_t) override { return Count(); }
    bool key(string_t&) override { return Count(); }
    bool end_object() override { return true; }
    bool start_array(std::size_t) override { return Count(); }
    bool end_array() override { return true; }
    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) override {
        return false; // the parse proper says what is wrong
    }

    bool TooMany() const { return count_ > TiledMostValues; }

  private:
    bool Count() { return ++count_ <= TiledMostValues; }

    std::size_t count_ = 0;
};

Result<Json> Parse(std::string_view text, const char* type) {
    ValueCounter counter;
    Json::sax_parse(text.begin(), text.end(), &counter);
    if (counter.TooMany()) {
        return Error{"it holds more than " + std::to_string(TiledMostValues) +
                     " JSON values, far more than a map of 256 x 256 cells needs"};
    }
    Json document;
    try {
        document = Json::parse(text.begin(), text.end());
    } catch (const Json::parse_error& error) {
        return Error{"the JSON is malformed (" + JsonParseProblem(error) + ")"};
    } catch (const Json::exception& error) { // a number out of range
        const std::string what = error.what();
        const std::size_t start = what.find("] ");
        return Error{"the JSON is malformed (" +
                     (start == std::string::npos ? what : what.substr(start + 2)) + ")"};
    }
    if (!document.is_object()) {
        return Error{std::string("its JSON is not a Tiled ") + type};
    }
    const auto kind = document.find("type");
    if (kind != document.end() && *kind != Json(type)) {
        return Error{"its JSON is a Tiled " + Describe(*kind) + ", not a " + type};
    }
    return document;
}

TiledTileset ReadTileset(const Json& object, const std::string& where, Fields& read) {
    TiledTileset tileset;
    tileset.firstGid = read.Number(object, "firstgid", where, 0, MaxGid);
    tileset.source = read.Text(object, "source", where);
    tileset.name = read.Text(object, "name", where);
    tileset.tileWidth = read.Number(object, "tilewidth", where);
    tileset.tileHeight = read.Number(object, "tileheight", where);
    tileset.margin = read.Number(object, "margin", where);
    tileset.spacing = read.Number(object, "spacing", where);
    tileset.image = read.Text(object, "image", where);
    if (tileset.image.empty()) {
        if (const Json* tiles = read.Array(object, "tiles", where)) {
            tileset.imageCollection = std::any_of(tiles->begin(), tiles->end(), [](const Json& t) {
                return t.is_object() && t.contains("image");
            });
        }
    }
    return tileset;
}

TiledLayer ReadLayer(const Json& object, Fields& read) {
    TiledLayer layer;
    layer.name = read.Text(object, "name", "a tile layer");
    const std::string where = "tile layer \"" + layer.name + "\"";
    layer.width = read.Number(object, "width", where);
    layer.height = read.Number(object, "height", where);
    layer.compression = read.Text(object, "compression", where);
    layer.chunked = object.contains("chunks");
    const auto data = object.find("data");
    if (data == object.end()) {
        return layer;
    }
    if (data->is_string()) {
        layer.encoding = read.Text(object, "encoding", where, "base64");
        layer.text = data->get<std::string>();
        return layer;
    }
    if (!data->is_array()) {
        read.Complain(where, "\"data\" is neither a list of numbers nor a text");
        return layer;
    }
    layer.gids.reserve(data->size());
    for (const Json& gid : *data) {
        if (!gid.is_number_unsigned() || gid.get<std::uint64_t>() > MaxGid) {
            read.Complain(where, "\"data\" holds " + Describe(gid) + ", not a tile number");
            break;
        }
        layer.gids.push_back(gid.get<std::uint32_t>());
    }
    return layer;
}

// Every tile layer in document order, groups included, without recursion.
void ReadLayers(const Json& root, TiledMap& map, Fields& read) {
    std::vector<std::pair<const Json*, std::size_t>> stack;
    if (const Json* layers = read.Array(root, "layers", "the map")) {
        stack.emplace_back(layers, 0);
    }
    while (!stack.empty()) {
        auto& [layers, next] = stack.back();
        if (next == layers->size()) {
            stack.pop_back();
            continue;
        }
        const Json& layer = (*layers)[next++];
        const std::string type = read.Text(layer, "type", "a layer");
        if (type == "tilelayer") {
            if (map.tileLayerNames.empty()) {
                map.layer = ReadLayer(layer, read);
            }
            map.tileLayerNames.push_back(read.Text(layer, "name", "a tile layer"));
        } else if (type == "group") {
            if (const Json* inner = read.Array(layer, "layers", "a group layer")) {
                stack.emplace_back(inner, 0);
            }
        }
    }
}

} // namespace

Result<TiledMap> ParseTiledMapJson(std::string_view text) {
    const Result<Json> parsed = Parse(text, "map");
    if (!parsed) {
        return Error{parsed.message()};
    }
    const Json& root = parsed.value();
    Fields read;
    TiledMap map;
    map.orientation = read.Text(root, "orientation", "the map", "orthogonal");
    map.width = read.Number(root, "width", "the map");
    map.height = read.Number(root, "height", "the map");
    map.tileWidth = read.Number(root, "tilewidth", "the map");
    map.tileHeight = read.Number(root, "tileheight", "the map");
    map.infinite = read.Flag(root, "infinite");
    if (const Json* tilesets = read.Array(root, "tilesets", "the map")) {
        for (const Json& tileset : *tilesets) {
            const std::string where = "tileset " + std::to_string(map.tilesets.size() + 1);
            map.tilesets.push_back(ReadTileset(tileset, where, read));
        }
    }
    ReadLayers(root, map, read);
    if (Status status = read.status(); !status) {
        return Error{status.message()};
    }
    return map;
}

Result<TiledTileset> ParseTiledTilesetJson(std::string_view text) {
    const Result<Json> parsed = Parse(text, "tileset");
    if (!parsed) {
        return Error{parsed.message()};
    }
    Fields read;
    TiledTileset tileset = ReadTileset(parsed.value(), "the tileset", read);
    if (Status status = read.status(); !status) {
        return Error{status.message()};
    }
    return tileset;
}

} // namespace tessra
