#include "platform/file_tileset.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

using namespace tessra;

TEST(LoadPCX, DecodesAFileAndNamesTheFileInEveryFailure) {
    const Result<PcxImage> tiles = LoadPCX(TESSRA_TEST_DATA "/pcx/pil-p8-40x24.pcx");
    ASSERT_TRUE(tiles.ok()) << tiles.message();
    EXPECT_EQ(tiles.value().picture.Width(), 40);

    TempDir dir;
    const std::string missing = dir.File("missing.pcx"), broken = dir.File("broken.pcx");
    const Result<PcxImage> unread = LoadPCX(missing);
    ASSERT_FALSE(unread.ok());
    EXPECT_EQ(unread.message().rfind("Cannot read " + missing + ": ", 0), 0u);

    std::string header(128, '\0');
    header[3] = 8, header[65] = 1; // 8 bits, one plane, but BytesPerLine 0
    WriteText(broken, header);
    PcxImage kept{Surface(2, 2), PcxKind::Monochrome};
    EXPECT_EQ(LoadPCX(broken, kept).message(), broken + ": BytesPerLine is 0");
    EXPECT_EQ(kept.picture.Width(), 2);
}
