#include "platform/file_tile_attributes.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

using namespace tessra;

// A file of any size is read no further than its limit; a missing one is zeros only if asked.
TEST(FileTileAttributes, SavesAndLoadsWithinTheLimit) {
    const TempDir dir;
    const QString path = QString::fromStdString(dir.File("level.attributes.json"));
    TileAttributeTable table;
    table[3] = {5, true, false, true, 42};
    ASSERT_TRUE(SaveTileAttributes(path, table).ok());
    EXPECT_EQ(LoadTileAttributes(path, MissingAttributes::Refused).value(), table);
    const QString missing = QString::fromStdString(dir.File("none.json"));
    EXPECT_EQ(LoadTileAttributes(missing, MissingAttributes::AllZeros).value(),
              TileAttributeTable{});
    EXPECT_FALSE(LoadTileAttributes(missing, MissingAttributes::Refused).ok());
    // One that is there but cannot be read is not taken for a missing one.
    std::filesystem::create_directory(dir.File("folder.json"));
    EXPECT_FALSE(LoadTileAttributes(QString::fromStdString(dir.File("folder.json")),
                                    MissingAttributes::AllZeros)
                     .ok());

    WriteText(dir.File("big.json"), std::string(8 * TileAttributesMaxSize, ' '));
    const auto big = LoadTileAttributes(QString::fromStdString(dir.File("big.json")),
                                        MissingAttributes::AllZeros);
    EXPECT_NE(big.message().find("larger than 256 KiB"), std::string::npos);
}
