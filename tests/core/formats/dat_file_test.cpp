#include "core/formats/dat_file.h"

#include <array>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace tessra;

// The whole part of each box, 1..256; the X box is checked first.
TEST(MapFile, ReadsTheTypedSize) {
    const std::array<const char*, 3> cases[] = {
        {"2.5", "256.5", "2 256"},
        {"0.5", "3", "Illegal X size: enter a number from 1 to 256."},
        {"abc", "257", "Illegal X size: enter a number from 1 to 256."},
        {"1", "1e999", "Illegal Y size: enter a number from 1 to 256."},
    };
    for (const auto& [x, y, read] : cases) {
        const Result<MapFileSize> size = ReadMapFileSize(x, y);
        EXPECT_EQ(size ? std::to_string(size.value().W) + ' ' + std::to_string(size.value().H)
                       : size.message(),
                  read);
    }
}

TEST(MapFile, RowAfterRow) {
    MapGrid map;
    for (int i = 0; i < CellCount; ++i) {
        map.data()[i] = static_cast<std::uint8_t>(i % 251);
    }
    map(0, 0) = 1, map(1, 0) = 2, map(2, 0) = 3;
    map(0, 1) = 4, map(1, 1) = 5, map(2, 1) = 6;
    EXPECT_EQ(WriteMapFileBytes(map, 3, 2), (std::vector<std::uint8_t>{1, 2, 3, 4, 5, 6}));

    // The whole width and the whole height, not one cell less.
    const auto row = WriteMapFileBytes(map, 256, 1), column = WriteMapFileBytes(map, 1, 256);
    ASSERT_EQ(row.size() + column.size(), 512u);
    for (int i = 0; i < 256; ++i) {
        EXPECT_TRUE(row[i] == map(i, 0) && column[i] == map(0, i)) << i;
    }
}
