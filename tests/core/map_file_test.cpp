#include "core/map_file.h"

#include <gtest/gtest.h>
#include <vector>

using namespace tessra;

TEST(MapFile, ReadsTheTypedSize) {
    const std::pair<const char*, int> counts[] = {{"2.5", 2}, {"0.5", 0},   {"-4", 0},
                                                  {"abc", 0}, {"256", 256}, {"1e999", 257}};
    for (const auto& [text, count] : counts) {
        EXPECT_EQ(MapFileCount(text), count) << text;
    }
    EXPECT_NE(ReadMapFileSize("", "3").message().find("X"), std::string::npos);
    EXPECT_NE(ReadMapFileSize("3", "257").message().find("Y"), std::string::npos);
    EXPECT_EQ(ReadMapFileSize("256", "2.5").value().H, 2);
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
