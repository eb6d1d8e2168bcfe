#include "core/model/tileset_paths.h"

#include <algorithm>

namespace tessra {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
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

} // namespace tessra
