#pragma once

#include "core/base/result.h"

#include <string>
#include <string_view>
#include <vector>

namespace tessra {

inline constexpr std::string_view AlreadyLoadedMessage = "That tileset is already loaded.";

// Whether a path can stand in the tileset list and come back from a project
// file unchanged: a line break would split its line, and blanks at either end
// are trimmed when the file is read.
Status CheckTilesetPath(std::string_view path);

// CheckTilesetPath, and a path already in the list is refused.
Status CheckNewTileset(const std::vector<std::string>& tilesets, std::string_view path);

// The folder part of a file's path ("" for a bare name), against which the
// tileset paths a project lists are taken.
std::string FolderOf(std::string_view filePath);

// The path from the root, without "." or ".." steps; as given when the
// working folder cannot be told.
std::string WholePath(std::string_view path);

// What the tileset list shows of a listed path: its last part, after the last
// slash or backslash ("a.pcx" for "tiles\a.pcx").
std::string ListedName(std::string_view path);

// The file a listed tileset path names. An absolute path stands as it is; a
// relative one is taken from folder, a backslash in it counting as a folder
// separator (projects written on Windows).
std::string ResolveTilesetPath(std::string_view path, std::string_view folder);
std::vector<std::string> ResolveTilesetPaths(const std::vector<std::string>& paths,
                                             std::string_view folder);

// Listed paths as a project in folder `to` lists them, when they were listed
// from folder `from` ("" for the working folder): an absolute path stays as
// it is; a relative one names the same file from `to`, still relative. Paths
// stay as written when both folders are one.
std::vector<std::string> RebaseTilesetPaths(const std::vector<std::string>& paths,
                                            std::string_view from, std::string_view to);

// Files, absolute or from the working folder, as a project in `folder` lists
// them: relative to it, so that the list moves with the files.
std::vector<std::string> RelativeTilesetPaths(const std::vector<std::string>& files,
                                              std::string_view folder);

// The list as File > Make Tileset Paths Relative leaves it: every absolute
// path to a file in `folder`, below it, or in a folder beside it (one step up)
// made relative to it, so the project works in another checkout; a path
// further away, and a relative one, stays as it is.
std::vector<std::string> MakeTilesetPathsRelative(const std::vector<std::string>& paths,
                                                  std::string_view folder);

} // namespace tessra
