#include "platform/file_tileset.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

using namespace tessra;

TEST(LoadTilesetPicture, DecodesPcxAndPngAndNamesTheFileInEveryFailure) {
    for (const char* name : {"/pcx/pil-p8-40x24.pcx", "/png/indexed4.png"}) {
        const Result<Surface> tiles = LoadTilesetPicture(TESSRA_TEST_DATA + std::string(name));
        ASSERT_TRUE(tiles.ok()) << tiles.message();
        EXPECT_GT(tiles.value().Width(), 32);
    }

    TempDir dir;
    const std::string missing = dir.File("missing.pcx"), broken = dir.File("broken.pcx");
    const Result<Surface> unread = LoadTilesetPicture(missing);
    ASSERT_FALSE(unread.ok());
    EXPECT_EQ(unread.message().rfind("Cannot read " + missing + ": ", 0), 0u);

    std::string header(128, '\0');
    header[3] = 8, header[65] = 1; // 8 bits, one plane, but BytesPerLine 0
    WriteText(broken, header);
    EXPECT_EQ(LoadTilesetPicture(broken).message(), broken + ": BytesPerLine is 0");
}
