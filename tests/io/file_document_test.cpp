#include "../support/refusal.h"
#include "core/model/tileset_paths.h"
#include "io/file_document.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

using namespace tessra;
namespace fs = std::filesystem;

namespace {

// A map listing a tileset beside it, one in a sibling folder and one by its
// whole path, kept in maps/ of a fresh folder.
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

    TempDir dir_;
    Document document_;
    std::string map_ = dir_.File("maps/level.tessra");
};

} // namespace

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
