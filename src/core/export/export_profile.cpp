#include "core/export/export_profile.h"

#include "core/base/json_file.h"

#include <filesystem>

namespace tessra {

namespace {

using Json = nlohmann::ordered_json;

constexpr std::string_view OutputKey = "output";
constexpr std::string_view ExportOnSaveKey = "exportOnSave";

std::string KeyList() {
    std::string list;
    for (const std::string_view name : ExportSettingNames()) {
        list += std::string(name) + ", ";
    }
    return list + std::string(OutputKey) + " and " + std::string(ExportOnSaveKey);
}

// A setting's value as text: a string, a whole number for the numbers, true
// or false for the flags.
std::optional<std::string> SettingText(const Json& value, std::string_view name) {
    if (value.is_string()) {
        return value.get<std::string>();
    }
    if (value.is_number_integer() && IsNumberSetting(name)) {
        return value.dump();
    }
    if (value.is_boolean() && IsFlagSetting(name)) {
        return value.get<bool>() ? "true" : "false";
    }
    return std::nullopt;
}

std::string SettingKind(std::string_view name) {
    if (IsFlagSetting(name)) {
        return "true or false.";
    }
    return IsNumberSetting(name) ? "text in quotes or a whole number." : "text in quotes.";
}

Status ReadEntry(ExportProfile& profile, const std::string& key, const Json& value,
                 const JsonRefusal& refuse) {
    if (key == OutputKey) {
        if (!value.is_string()) {
            return refuse("\"output\" must be a file name in quotes.");
        }
        profile.Output = value.get<std::string>();
        return {};
    }
    if (key == ExportOnSaveKey) {
        if (!value.is_boolean()) {
            return refuse("\"exportOnSave\" must be true or false.");
        }
        profile.ExportOnSave = value.get<bool>();
        return {};
    }
    const auto names = ExportSettingNames();
    if (std::find(names.begin(), names.end(), key) == names.end()) {
        return refuse("\"" + key.substr(0, 40) + "\" is not a key of a profile; the keys are " +
                      KeyList() + ".");
    }
    const std::optional<std::string> text = SettingText(value, key);
    if (!text) {
        return refuse("\"" + key + "\" must be " + SettingKind(key));
    }
    if (Status set = SetExportSetting(profile.Settings, key, *text); !set) {
        return refuse(set.message());
    }
    return {};
}

} // namespace

std::string ExportProfilePath(std::string_view mapPath) {
    std::string path(mapPath);
    if (path.ends_with(".tessra")) {
        path.resize(path.size() - 7);
    }
    return path + ".export.json";
}

std::string WriteExportProfileBytes(const ExportProfile& profile) {
    Json json = Json::object();
    for (const std::string_view name : ExportSettingNames()) {
        const std::string key(name);
        const std::string text = ExportSettingText(profile.Settings, name);
        if (IsNumberSetting(name)) {
            json[key] = std::stoll(text);
        } else if (IsFlagSetting(name)) {
            json[key] = text == "true";
        } else {
            json[key] = text;
        }
    }
    json[std::string(OutputKey)] = profile.Output;
    json[std::string(ExportOnSaveKey)] = profile.ExportOnSave;
    // A name that is not UTF-8 is kept readable rather than refused.
    return json.dump(4, ' ', false, Json::error_handler_t::replace) + "\n";
}

Result<ExportProfile> ParseExportProfile(std::string_view bytes, std::string_view fileName) {
    const JsonRefusal refuse("export profile", fileName);
    Result<Json> parsed = ParseJsonObject<Json>(
        bytes, {ExportProfileMaxSize, "; a profile is a few lines of JSON.", "{ ... }"}, refuse);
    if (!parsed) {
        return Error{parsed.message()};
    }
    const Json& json = parsed.value();
    ExportProfile profile;
    for (const auto& [key, value] : json.items()) {
        if (Status read = ReadEntry(profile, key, value, refuse); !read) {
            return Error{read.message()};
        }
    }
    return profile;
}

std::string ResolveExportOutput(std::string_view mapPath, std::string_view output) {
    const std::filesystem::path path{std::string(output)};
    if (output.empty() || path.is_absolute()) {
        return std::string(output);
    }
    return (std::filesystem::path(std::string(mapPath)).parent_path() / path).string();
}

std::string RelativeExportOutput(std::string_view mapPath, std::string_view outputPath) {
    const std::filesystem::path folder =
        std::filesystem::path(std::string(mapPath)).parent_path().lexically_normal();
    const std::filesystem::path output = std::filesystem::path(std::string(outputPath));
    const std::filesystem::path relative = output.lexically_normal().lexically_relative(folder);
    // Different roots, or a folder part that cannot be walked back, keep the path whole.
    return relative.empty() ? std::string(outputPath) : relative.string();
}

namespace {

template <class Change>
void ChangePaths(ExportSettings& settings, std::string_view mapPath, Change change) {
    for (const std::string_view name : ExportSettingNames()) {
        const std::string path = ExportSettingText(settings, name);
        if (IsPathSetting(name) && !path.empty()) {
            (void)SetExportSetting(settings, name, change(mapPath, path));
        }
    }
}

} // namespace

void ResolveExportPaths(ExportSettings& settings, std::string_view mapPath) {
    ChangePaths(settings, mapPath, ResolveExportOutput);
}

void RelativeExportPaths(ExportSettings& settings, std::string_view mapPath) {
    ChangePaths(settings, mapPath, RelativeExportOutput);
}

} // namespace tessra
