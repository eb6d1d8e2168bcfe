#include "core/model/tileset_paths.h"

#include <array>
#include <gtest/gtest.h>
#include <string>

using namespace tessra;

// Paths that a project file could not give back as they went in are refused.
TEST(TilesetFiles, ChecksPathsAndRefusesDuplicates) {
    const std::vector<std::string> listed = {"a.pcx", "tiles/b.pcx"};
    const std::pair<std::string, std::string> cases[] = {
        {"c d.pcx", ""},
        {"tiles/b.pcx", "That tileset is already loaded."},
        {"Tiles/b.pcx", ""}, // another spelling is another entry
        {"a\n.pcx", "A tileset path cannot hold a line break."},
        {"a.pcx\r", "A tileset path cannot hold a line break."},
        {" a.pcx", "A tileset path cannot begin or end with a blank."},
        {"a.pcx\t", "A tileset path cannot begin or end with a blank."},
    };
    for (const auto& [path, refusal] : cases) {
        EXPECT_EQ(CheckNewTileset(listed, path).message(), refusal) << path;
    }
}

TEST(TilesetFiles, ResolvesRelativePathsFromTheProjectFolder) {
    const std::array<const char*, 3> cases[] = {
        // path, project file, resolved
        {"a.pcx", "/maps/level.tessra", "/maps/a.pcx"},
        {"tiles\\a.pcx", "maps/level.tessra", "maps/tiles/a.pcx"},
        {"..\\art\\a.pcx", "level.tessra", "../art/a.pcx"},
        {"/abs/a\\b.pcx", "/maps/level.tessra", "/abs/a\\b.pcx"},
        {"a.pcx", "/level.tessra", "/a.pcx"},
    };
    for (const auto& [path, project, resolved] : cases) {
        EXPECT_EQ(ResolveTilesetPath(path, FolderOf(project)), resolved) << path;
    }
}

// Saved elsewhere, relative paths name the same files from the new folder and
// stay relative; absolute ones, and all in the same folder, stay as written.
TEST(TilesetFiles, RebasesRelativePathsToAnotherFolder) {
    const std::array<const char*, 4> cases[] = {
        // path, from, to, rebased
        {"a.pcx", "/m", "/m/deep/er", "../../a.pcx"},
        {"..\\art\\b.pcx", "/m/maps", "/m", "art/b.pcx"},
        {"/art/c.pcx", "/m", "/n", "/art/c.pcx"},
        {"tiles\\a.pcx", "/m/./x/..", "/m", "tiles\\a.pcx"},
    };
    for (const auto& [path, from, to, rebased] : cases) {
        EXPECT_EQ(RebaseTilesetPaths({path}, from, to), std::vector<std::string>{rebased}) << path;
    }
    EXPECT_EQ(RelativeTilesetPaths({"/m/tiled/a.png", "/m/b.png", "/m/./x/../c.png"}, "/m/tiled"),
              (std::vector<std::string>{"a.png", "../b.png", "../c.png"}));
    // From the working folder, as tessra-cli is given them.
    EXPECT_EQ(RelativeTilesetPaths({"gfx/c.png"}, "out"), std::vector<std::string>{"../gfx/c.png"});
}

// Absolute paths in the project's folder, below it or beside it become
// relative; further away, or relative already, they stay as written.
TEST(TilesetFiles, MakesNearbyPathsRelative) {
    const std::array<const char*, 3> cases[] = {
        // path, folder, made
        {"/m/maps/a.pcx", "/m/maps", "a.pcx"},
        {"/m/maps/art/./b.png", "/m/maps/", "art/b.png"},
        {"/m/art/c.pcx", "/m/maps", "../art/c.pcx"},
        {"/m/x/../art/c.pcx", "/m/maps", "../art/c.pcx"},
        {"/art/d.pcx", "/m/maps", "/art/d.pcx"},
        {"tiles\\e.pcx", "/m/maps", "tiles\\e.pcx"},
    };
    for (const auto& [path, folder, made] : cases) {
        EXPECT_EQ(MakeTilesetPathsRelative({path}, folder), std::vector<std::string>{made}) << path;
    }
}
