#include "core/base/message_text.h"
#include "core/export/export_profile.h"
#include "io/file_io.h"
#include "io/map_build.h"

#include <algorithm>
#include <filesystem>
#include <set>

namespace tessra {

namespace {

constexpr ReadLimit IgnoreFileLimit{1u << 20, "a .tessraignore file"};

// The folders a build skips, as paths from the folder: a line each, blank
// lines and # comments aside, a trailing slash or a leading ./ allowed.
std::set<std::filesystem::path> IgnoredFolders(const std::string& folder) {
    std::set<std::filesystem::path> ignored;
    const Result<Bytes> bytes = ReadFileBytes(folder + "/.tessraignore", IgnoreFileLimit);
    if (!bytes) {
        return ignored;
    }
    std::string_view text(reinterpret_cast<const char*>(bytes.value().data()),
                          bytes.value().size());
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '/')) {
            line.remove_suffix(1);
        }
        if (!line.empty() && !line.starts_with('#')) {
            ignored.insert(std::filesystem::path(std::string(line)).lexically_normal());
        }
    }
    return ignored;
}

} // namespace

Result<std::vector<std::string>> FindBuildMaps(const std::string& folder) {
    namespace fs = std::filesystem;
    const std::set<fs::path> ignored = IgnoredFolders(folder);
    std::error_code error;
    fs::recursive_directory_iterator walk(folder, fs::directory_options::skip_permission_denied,
                                          error);
    if (error) {
        return Error{"Cannot read the folder " + Shortened(folder) + ": " + error.message()};
    }
    std::vector<std::string> maps;
    for (; walk != fs::recursive_directory_iterator(); walk.increment(error)) {
        if (error) {
            return Error{"Cannot read the folder " + Shortened(folder) + ": " + error.message()};
        }
        const fs::path& path = walk->path();
        const fs::path relative = path.lexically_relative(folder);
        const std::string name = path.filename().string();
        std::error_code kind;
        if (walk->is_directory(kind)) {
            if (name.starts_with('.') || ignored.contains(relative.lexically_normal())) {
                walk.disable_recursion_pending();
            }
            continue;
        }
        if (!name.ends_with(".tessra") || name == ".tessra") {
            continue;
        }
        const std::string map = folder == "." ? relative.string() : path.string();
        if (FileExists(ExportProfilePath(map))) {
            maps.push_back(map);
        }
    }
    std::sort(maps.begin(), maps.end());
    return maps;
}

} // namespace tessra
