#pragma once

#include "core/base/result.h"

#include <cstddef>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

namespace tessra {

// Turns a reason into the message for a JSON file of ours that cannot be read:
// "Cannot read the export profile a.json: ...".
class JsonRefusal {
  public:
    JsonRefusal(std::string_view kind, std::string_view fileName)
        : prefix_("Cannot read the " + std::string(kind) + " " + std::string(fileName) + ": ") {}
    Error operator()(const std::string& reason) const { return Error{prefix_ + reason}; }

  private:
    std::string prefix_;
};

// What a small JSON file of ours may hold, for the refusals.
struct JsonFileShape {
    std::size_t maxSize;
    std::string_view sizeNote; // after the limit: "; a profile is a few lines of JSON."
    std::string_view object;   // the object it must be: "{ ... }"
};

// The parser's own words, without its prefix and without the bytes it last
// read, which may be anything.
std::string JsonParseProblem(const nlohmann::json::parse_error& error);

// Parses the bytes as one JSON object (Json: nlohmann::json, or ordered_json
// to keep the file's order), or refuses them: too large, not JSON, a number
// beyond a double, or not an object.
template <class Json>
Result<Json> ParseJsonObject(std::string_view bytes, const JsonFileShape& shape,
                             const JsonRefusal& refuse) {
    if (bytes.size() > shape.maxSize) {
        return refuse("the file is larger than " + std::to_string(shape.maxSize / 1024) + " KiB" +
                      std::string(shape.sizeNote));
    }
    Json json;
    try {
        json = Json::parse(bytes.begin(), bytes.end());
    } catch (const typename Json::parse_error& error) {
        return refuse("it is not JSON (" + JsonParseProblem(error) + ").");
    } catch (const typename Json::exception&) {
        // The parser reports a number beyond a double this way.
        return refuse("it holds a number too large to read.");
    }
    if (!json.is_object()) {
        return refuse("it must hold one JSON object, " + std::string(shape.object) + ".");
    }
    return json;
}

} // namespace tessra
