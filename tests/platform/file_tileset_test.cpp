#include "platform/file_tileset.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace tessra;

TEST(LoadPCX, DecodesAFileAndNamesTheFileInEveryFailure) {
    const Result<PcxImage> tiles = LoadPCX(TESSRA_TEST_DATA "/pcx/pil-p8-40x24.pcx");
    ASSERT_TRUE(tiles.ok()) << tiles.message();
    EXPECT_EQ(tiles.value().picture.Width(), 40);

    QTemporaryDir folder;
    const QString missing = folder.filePath("missing.pcx");
    const Result<PcxImage> unread = LoadPCX(missing);
    ASSERT_FALSE(unread.ok());
    EXPECT_EQ(unread.message().rfind("Cannot read " + missing.toStdString() + ": ", 0), 0u);

    const QString broken = folder.filePath("broken.pcx");
    QFile file(broken);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(128, '\0').replace(3, 1, "\x08").replace(65, 1, "\x01"));
    file.close();
    PcxImage kept{Surface(2, 2), PcxKind::Monochrome};
    const Status refused = LoadPCX(broken, kept);
    EXPECT_EQ(refused.message(), broken.toStdString() + ": BytesPerLine is 0");
    EXPECT_EQ(kept.picture.Width(), 2);
}
