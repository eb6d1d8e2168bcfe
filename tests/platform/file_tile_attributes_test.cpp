#include "platform/file_tile_attributes.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

using namespace tessra;

TEST(FileTileAttributes, SavesLoadsAndMissesAsAsked) {
    const TempDir dir;
    const QString path = QString::fromStdString(dir.File("level.attributes.json"));
    TileAttributeTable table;
    table[3] = {5, true, false, true, 42};
    ASSERT_TRUE(SaveTileAttributes(path, table).ok());
    const auto loaded = LoadTileAttributes(path, MissingAttributes::Refused);
    ASSERT_TRUE(loaded.ok()) << loaded.message();
    EXPECT_EQ(loaded.value(), table);

    const QString missing = QString::fromStdString(dir.File("none.attributes.json"));
    EXPECT_EQ(LoadTileAttributes(missing, MissingAttributes::AllZeros).value(),
              TileAttributeTable{});
    const auto refused = LoadTileAttributes(missing, MissingAttributes::Refused);
    ASSERT_FALSE(refused.ok());
    EXPECT_NE(refused.message().find("none.attributes.json: No such file"), std::string::npos)
        << refused.message();

    // A file of any size is read no further than its limit, and refused.
    WriteText(dir.File("big.json"), std::string(8 * TileAttributesMaxSize, ' '));
    const auto big = LoadTileAttributes(QString::fromStdString(dir.File("big.json")),
                                        MissingAttributes::AllZeros);
    ASSERT_FALSE(big.ok());
    EXPECT_NE(big.message().find("larger than 256 KiB"), std::string::npos) << big.message();
    // A save that cannot be made says so.
    EXPECT_FALSE(
        SaveTileAttributes(QString::fromStdString(dir.File("no/such/folder.json")), table).ok());
}
