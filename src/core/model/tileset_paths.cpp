#include "core/model/tileset_paths.h"

#include <algorithm>
#include <filesystem>

namespace tessra {

namespace {

namespace fs = std::filesystem;

// The folder as an absolute path without "." or ".." steps.
fs::path AbsoluteFolder(std::string_view folder) {
    std::error_code ignored;
    const fs::path absolute = fs::absolute(folder.empty() ? "." : fs::path(folder), ignored);
    fs::path normal = (absolute.empty() ? fs::path(folder) : absolute).lexically_normal();
    // "/m/x/.." comes out as "/m/", the same folder as "/m".
    return normal.has_filename() || !normal.has_relative_path() ? normal : normal.parent_path();
}

// The file as a path from folder; the whole path where none leads there.
std::string RelativeTo(const fs::path& file, const fs::path& folder) {
    const fs::path whole = file.lexically_normal();
    const fs::path relative = whole.lexically_relative(folder);
    return relative.empty() ? whole.string() : relative.string();
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// Whether a relative path goes up from its folder more than once.
bool ClimbsFurther(const fs::path& relative) {
    int ups = 0;
    for (const fs::path& part : relative) {
        ups += part == "..";
    }
    return ups > 1;
}

} // namespace

Status CheckTilesetPath(std::string_view path) {
    if (path.find_first_of("\r\n") != std::string_view::npos) {
        return Error{"A tileset path cannot hold a line break."};
    }
    if (!path.empty() && (IsBlank(path.front()) || IsBlank(path.back()))) {
        return Error{"A tileset path cannot begin or end with a blank."};
    }
    return {};
}

Status CheckNewTileset(const std::vector<std::string>& tilesets, std::string_view path) {
    if (Status checked = CheckTilesetPath(path); !checked) {
        return checked;
    }
    if (std::find(tilesets.begin(), tilesets.end(), path) != tilesets.end()) {
        return Error{std::string(AlreadyLoadedMessage)};
    }
    return {};
}

std::string FolderOf(std::string_view filePath) {
    const std::size_t slash = filePath.rfind('/');
    if (slash == std::string_view::npos) {
        return {};
    }
    return std::string(filePath.substr(0, slash == 0 ? 1 : slash));
}

std::string WholePath(std::string_view path) {
    std::error_code ignored;
    const fs::path whole = fs::absolute(fs::path(path), ignored);
    return whole.empty() ? std::string(path) : whole.lexically_normal().string();
}

std::string ListedName(std::string_view path) {
    const std::size_t separator = path.find_last_of("/\\");
    return std::string(separator == std::string_view::npos ? path : path.substr(separator + 1));
}

std::string ResolveTilesetPath(std::string_view path, std::string_view folder) {
    if (path.starts_with('/')) {
        return std::string(path);
    }
    std::string relative(path);
    std::replace(relative.begin(), relative.end(), '\\', '/');
    if (folder.empty()) {
        return relative;
    }
    return std::string(folder) + (folder.ends_with('/') ? "" : "/") + relative;
}

std::vector<std::string> ResolveTilesetPaths(const std::vector<std::string>& paths,
                                             std::string_view folder) {
    std::vector<std::string> resolved;
    resolved.reserve(paths.size());
    for (const std::string& path : paths) {
        resolved.push_back(ResolveTilesetPath(path, folder));
    }
    return resolved;
}

std::vector<std::string> RebaseTilesetPaths(const std::vector<std::string>& paths,
                                            std::string_view from, std::string_view to) {
    const fs::path source = AbsoluteFolder(from), target = AbsoluteFolder(to);
    std::vector<std::string> rebased;
    rebased.reserve(paths.size());
    for (const std::string& path : paths) {
        rebased.push_back(path.starts_with('/') || source == target
                              ? path
                              : RelativeTo(source / ResolveTilesetPath(path, ""), target));
    }
    return rebased;
}

std::vector<std::string> MakeTilesetPathsRelative(const std::vector<std::string>& paths,
                                                  std::string_view folder) {
    const fs::path base = AbsoluteFolder(folder);
    std::vector<std::string> made = paths;
    for (std::string& path : made) {
        if (!path.starts_with('/')) {
            continue;
        }
        const fs::path relative = fs::path(path).lexically_normal().lexically_relative(base);
        if (!relative.empty() && !ClimbsFurther(relative)) {
            path = relative.string();
        }
    }
    return made;
}

std::vector<std::string> RelativeTilesetPaths(const std::vector<std::string>& files,
                                              std::string_view folder) {
    const fs::path working = AbsoluteFolder(""), base = AbsoluteFolder(folder);
    std::vector<std::string> relative;
    relative.reserve(files.size());
    for (const std::string& file : files) {
        relative.push_back(RelativeTo(working / file, base));
    }
    return relative;
}

} // namespace tessra
