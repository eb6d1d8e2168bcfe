#include "core/model/tile_attributes.h"

#include "core/base/json_file.h"

#include <algorithm>
#include <optional>

namespace tessra {

namespace {

using Json = nlohmann::json;

constexpr std::string_view TilesKey = "tiles";

// The keys of one entry of the list, with the largest value each takes.
struct AttributeKey {
    std::string_view name;
    int limit;
};
constexpr std::array<AttributeKey, 6> EntryKeys = {{
    {"tile", TileCount - 1},
    {"palette", TileAttributePaletteLimit},
    {"priority", 1},
    {"hflip", 1},
    {"vflip", 1},
    {"behaviour", 255},
}};

std::array<int, EntryKeys.size() - 1> ValuesOf(const TileAttributes& a) {
    return {a.Palette, a.Priority, a.Hflip, a.Vflip, a.Behaviour};
}

TileAttributes FromValues(const std::array<int, EntryKeys.size() - 1>& v) {
    return {static_cast<std::uint8_t>(v[0]), v[1] != 0, v[2] != 0, v[3] != 0,
            static_cast<std::uint8_t>(v[4])};
}

std::string KeyList() {
    std::string list;
    for (std::size_t i = 0; i < EntryKeys.size(); ++i) {
        list += (i == 0 ? "" : (i + 1 == EntryKeys.size() ? " and " : ", ")) +
                std::string(EntryKeys[i].name);
    }
    return list;
}

// A whole number 0..limit; a flag may also be true or false.
std::optional<int> ReadValue(const Json& value, int limit) {
    if (limit == 1 && value.is_boolean()) {
        return value.get<bool>() ? 1 : 0;
    }
    if (value.is_number_unsigned() && value.get<std::uint64_t>() <= static_cast<unsigned>(limit)) {
        return static_cast<int>(value.get<std::uint64_t>());
    }
    return std::nullopt;
}

// The value as the message shows it; a list or an object by its kind alone,
// since it may nest deeper than is safe to print.
std::string Describe(const Json& value) {
    if (value.is_array()) {
        return "a list";
    }
    if (value.is_object()) {
        return "an object";
    }
    const std::string text = value.dump(-1, ' ', false, Json::error_handler_t::replace);
    return text.size() > 40 ? text.substr(0, 40) + "..." : text;
}

std::string Rule(const AttributeKey& key) {
    return key.limit == 1 ? "0 or 1" : "a whole number from 0 to " + std::to_string(key.limit);
}

// One entry of the list: the tile it names and that tile's attributes.
Result<std::pair<int, TileAttributes>> ReadEntry(const Json& entry, const std::string& where,
                                                 const JsonRefusal& refuse) {
    if (!entry.is_object()) {
        return refuse(where + " must be an object, {\"tile\": n, ...}.");
    }
    std::array<std::optional<int>, EntryKeys.size()> read;
    for (const auto& item : entry.items()) {
        // A structured binding cannot be captured by the lambda below in clang 14.
        const std::string& key = item.key();
        const Json& value = item.value();
        const auto known = std::find_if(EntryKeys.begin(), EntryKeys.end(),
                                        [&](const AttributeKey& k) { return k.name == key; });
        if (known == EntryKeys.end()) {
            return refuse(where + ": \"" + key.substr(0, 40) +
                          "\" is not an attribute; the keys are " + KeyList() + ".");
        }
        const auto index = static_cast<std::size_t>(known - EntryKeys.begin());
        read[index] = ReadValue(value, known->limit);
        if (!read[index]) {
            return refuse(where + ": \"" + key + "\" must be " + Rule(*known) + ", not " +
                          Describe(value) + ".");
        }
    }
    if (!read[0]) {
        return refuse(where + " has no \"tile\": each entry names its tile number.");
    }
    std::array<int, EntryKeys.size() - 1> values{};
    for (std::size_t i = 1; i < EntryKeys.size(); ++i) {
        values[i - 1] = read[i].value_or(0);
    }
    return std::pair{*read[0], FromValues(values)};
}

Result<TileAttributeTable> ReadTiles(const Json& tiles, const JsonRefusal& refuse) {
    if (!tiles.is_array()) {
        return refuse("\"tiles\" must be a list, [ ... ].");
    }
    TileAttributeTable table;
    std::array<std::size_t, TileCount> listedAt{}; // 0: not listed yet
    for (std::size_t i = 0; i < tiles.size(); ++i) {
        const std::string where = "entry " + std::to_string(i + 1) + " of \"tiles\"";
        Result<std::pair<int, TileAttributes>> entry = ReadEntry(tiles[i], where, refuse);
        if (!entry) {
            return Error{entry.message()};
        }
        const auto [tile, attributes] = entry.value();
        const auto at = static_cast<std::size_t>(tile);
        if (listedAt[at] != 0) {
            return refuse(where + " lists tile " + std::to_string(tile) + ", which entry " +
                          std::to_string(listedAt[at]) + " lists already.");
        }
        listedAt[at] = i + 1;
        table[tile] = attributes;
    }
    return table;
}

} // namespace

std::string TileAttributesPath(std::string_view mapPath) {
    std::string path(mapPath);
    if (path.ends_with(".tessra")) {
        path.resize(path.size() - 7);
    }
    return path + ".attributes.json";
}

std::string WriteTileAttributesBytes(const TileAttributeTable& table) {
    std::string out = "{\n    \"tiles\": [";
    bool first = true;
    for (int tile = 0; tile < TileCount; ++tile) {
        if (table[tile] == TileAttributes{}) {
            continue;
        }
        const auto values = ValuesOf(table[tile]);
        out += first ? "\n" : ",\n";
        out += "        {\"tile\": " + std::to_string(tile);
        for (std::size_t i = 0; i < values.size(); ++i) {
            out += ", \"" + std::string(EntryKeys[i + 1].name) + "\": " + std::to_string(values[i]);
        }
        out += "}";
        first = false;
    }
    return out + (first ? "]\n}\n" : "\n    ]\n}\n");
}

Result<TileAttributeTable> ParseTileAttributes(std::string_view bytes, std::string_view fileName) {
    const JsonRefusal refuse("tile attributes", fileName);
    Result<Json> parsed = ParseJsonObject<Json>(
        bytes, {TileAttributesMaxSize, "; it lists at most 256 tiles.", "{\"tiles\": [ ... ]}"},
        refuse);
    if (!parsed) {
        return Error{parsed.message()};
    }
    const Json& json = parsed.value();
    for (const auto& [key, value] : json.items()) {
        if (key != TilesKey) {
            return refuse("\"" + key.substr(0, 40) + "\" is not a key of the file; it holds only " +
                          "\"tiles\".");
        }
    }
    return json.contains(TilesKey) ? ReadTiles(json[std::string(TilesKey)], refuse)
                                   : Result<TileAttributeTable>(TileAttributeTable{});
}

} // namespace tessra
