#include "../support/refusal.h"
#include "core/model/tileset_paths.h"
#include "io/file_document.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

using namespace tessra;
namespace fs = std::filesystem;

namespace {

// A map listing a tileset beside it, one in a sibling folder and one by its
// whole path, saved in maps/ of a fresh folder.
class DocumentFiles : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::create_directories(dir_.Path() / "maps");
        fs::create_directories(dir_.Path() / "art");
        document_.MapData(3, 4) = 9;
        document_.Tilesets = {"a.pcx", "..\\art\\b.pcx", dir_.File("art/c.pcx")};
        document_.ProjectFolder = dir_.File("maps");
        document_.Attributes[9] = {2, false, true, false, 7};
    }

    // The files the document's tilesets name, as a reader finds them.
    static std::vector<std::string> Pictures(const Document& document) {
        std::vector<std::string> files;
        for (const std::string& path :
             ResolveTilesetPaths(document.Tilesets, document.ProjectFolder)) {
            files.push_back(fs::path(path).lexically_normal().string());
        }
        return files;
    }

    TempDir dir_;
    Document document_;
    std::string map_ = dir_.File("maps/level.tessra");
};

} // namespace

// Written and read back, the document is the same, its tilesets naming the
// same files from wherever it is saved: relative paths stay relative.
TEST_F(DocumentFiles, RoundTripFromAnyFolder) {
    for (const char* where : {"maps/level.tessra", "level.tessra", "maps/deep/er/level.tessra"}) {
        const std::string path = dir_.File(where);
        fs::create_directories(fs::path(path).parent_path());
        ASSERT_TRUE(WriteDocument(path, document_).ok()) << where;
        const Result<Document> read = ReadDocument(path);
        ASSERT_TRUE(read.ok()) << read.message();
        EXPECT_EQ(read.value().MapData, document_.MapData);
        EXPECT_EQ(read.value().Attributes, document_.Attributes);
        EXPECT_EQ(Pictures(read.value()), Pictures(document_)) << where;
        EXPECT_FALSE(read.value().Tilesets[1].starts_with('/')) << where;
        EXPECT_EQ(read.value().Tilesets[2], document_.Tilesets[2]);
    }
    // Saved in its own folder, the list is written as it stands.
    ASSERT_TRUE(WriteDocument(map_, document_).ok());
    EXPECT_EQ(ReadDocument(map_).value().Tilesets, document_.Tilesets);
}

// A save refuses, before anything is written, to replace one of the map's
// tilesets.
TEST_F(DocumentFiles, RefusesToReplaceATileset) {
    // Over the tileset itself, or with its attributes file over one.
    WriteText(dir_.File("art/c.pcx"), "picture");
    WriteText(dir_.File("art/d.attributes.json"), "picture");
    document_.Tilesets.push_back(dir_.File("art/d.attributes.json"));
    for (const char* name : {"art/c.pcx", "art/d.tessra"}) {
        EXPECT_TRUE(Refused(WriteDocument(dir_.File(name), document_), "same file as the input"))
            << name;
    }
    EXPECT_EQ(ReadText(dir_.File("art/c.pcx")) + ReadText(dir_.File("art/d.attributes.json")),
              "picturepicture");
    EXPECT_FALSE(fs::exists(dir_.File("art/d.tessra")));
}

// A file of any size is read no further than its limit, one of the limit is
// read; a missing one is zeros only beside a map, and one that is there but
// cannot be read is not taken for a missing one.
TEST_F(DocumentFiles, AttributesAreReadWithinTheLimit) {
    WriteText(map_, WriteProjectBytes({}, MapGrid{}));
    const std::string beside = dir_.File("maps/level.attributes.json");
    EXPECT_EQ(ReadDocument(map_).value().Attributes, TileAttributeTable{});
    EXPECT_TRUE(
        Refused(ReadDocument(map_, AttributesFrom::Named, dir_.File("none.json")), "none.json"));
    const struct {
        std::string content; // "" for a folder
        std::string refusal;
    } cases[] = {
        {"", "it is a folder"},
        {std::string(TileAttributesMaxSize, ' '), "it is not JSON"},
        {std::string(8 * TileAttributesMaxSize, ' '), "more than 256 KB"},
    };
    for (const auto& c : cases) {
        fs::remove_all(beside);
        c.content.empty() ? (void)fs::create_directory(beside) : WriteText(beside, c.content);
        EXPECT_TRUE(Refused(ReadDocument(map_), c.refusal));
        EXPECT_EQ(ReadDocument(map_, AttributesFrom::Nowhere).value().Attributes,
                  TileAttributeTable{});
    }
}
