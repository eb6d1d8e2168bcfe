#include "../support/refusal.h"
#include "io/file_tile_attributes.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

using namespace tessra;

// A file of any size is read no further than its limit, one of the limit is read; a
// missing one is zeros only if asked.
TEST(FileTileAttributes, SavesAndLoadsWithinTheLimit) {
    const TempDir dir;
    const std::string path = dir.File("level.attributes.json");
    TileAttributeTable table;
    table[3] = {5, true, false, true, 42};
    ASSERT_TRUE(SaveTileAttributes(path, table).ok());
    EXPECT_EQ(LoadTileAttributes(path, MissingAttributes::Refused).value(), table);
    const std::string missing = dir.File("none.json");
    EXPECT_EQ(LoadTileAttributes(missing, MissingAttributes::AllZeros).value(),
              TileAttributeTable{});
    EXPECT_FALSE(LoadTileAttributes(missing, MissingAttributes::Refused).ok());
    // One that is there but cannot be read is not taken for a missing one.
    std::filesystem::create_directory(dir.File("folder.json"));
    EXPECT_FALSE(LoadTileAttributes(dir.File("folder.json"), MissingAttributes::AllZeros).ok());

    WriteText(dir.File("edge.json"), std::string(TileAttributesMaxSize, ' ')); // read, not JSON
    EXPECT_TRUE(Refused(LoadTileAttributes(dir.File("edge.json"), MissingAttributes::AllZeros),
                        "it is not JSON"));
    WriteText(dir.File("big.json"), std::string(8 * TileAttributesMaxSize, ' '));
    EXPECT_TRUE(Refused(LoadTileAttributes(dir.File("big.json"), MissingAttributes::AllZeros),
                        "more than 256 KB"));
}
