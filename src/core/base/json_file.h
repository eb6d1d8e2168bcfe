#pragma once

#include "core/base/message_text.h"
#include "core/base/result.h"

#include <cstddef>
#include <new>
#include <nlohmann/json.hpp>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace tessra {

// Turns a reason into the message for a JSON file of ours that cannot be read:
// "Cannot read the export profile a.json: ...".
class JsonRefusal {
  public:
    JsonRefusal(std::string_view kind, std::string_view fileName)
        : prefix_("Cannot read the " + std::string(kind) + " " + std::string(fileName) + ": ") {}
    // The reason quotes the file's own text, kept printable.
    Error operator()(const std::string& reason) const { return Error{prefix_ + Printable(reason)}; }

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
// to keep the file's order), or refuses them: too large, UTF-16, not JSON, a
// key named twice in one object (the parser would keep the last silently), a
// number beyond a double, or not an object.
template <class Json>
Result<Json> ParseJsonObject(std::string_view bytes, const JsonFileShape& shape,
                             const JsonRefusal& refuse) {
    if (bytes.size() > shape.maxSize) {
        return refuse("the file is larger than " + std::to_string(shape.maxSize / 1024) + " KiB" +
                      std::string(shape.sizeNote));
    }
    if (IsUtf16Text(bytes)) {
        return refuse(std::string(Utf16Refusal) + ".");
    }
    Json json;
    std::vector<std::set<std::string>> keys; // of each object open
    std::optional<std::string> repeated;
    const auto noteKeys = [&](int, typename Json::parse_event_t event, Json& parsed) {
        using Event = typename Json::parse_event_t;
        if (event == Event::object_start) {
            keys.emplace_back();
        } else if (event == Event::object_end) {
            keys.pop_back();
        } else if (event == Event::key && !keys.empty() &&
                   !keys.back().insert(parsed.template get<std::string>()).second && !repeated) {
            repeated = parsed.template get<std::string>();
        }
        return true;
    };
    try {
        json = Json::parse(bytes.begin(), bytes.end(), noteKeys);
    } catch (const typename Json::parse_error& error) {
        return refuse("it is not JSON (" + JsonParseProblem(error) + ").");
    } catch (const typename Json::exception&) {
        // The parser reports a number beyond a double this way.
        return refuse("it holds a number too large to read.");
    } catch (const std::bad_alloc&) {
        return refuse("there is not enough memory to read it.");
    }
    if (repeated) {
        return refuse("the key \"" + Shortened(*repeated) +
                      "\" appears twice in one object; keep one.");
    }
    if (!json.is_object()) {
        return refuse("it must hold one JSON object, " + std::string(shape.object) + ".");
    }
    return json;
}

} // namespace tessra
