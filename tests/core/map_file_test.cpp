#include "core/map_file.h"

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

    const auto column = WriteMapFileBytes(map, 1, 256);
    ASSERT_EQ(column.size(), 256u);
    for (int y = 0; y < 256; ++y) {
        EXPECT_EQ(column[y], map(0, y)) << y;
    }
}
