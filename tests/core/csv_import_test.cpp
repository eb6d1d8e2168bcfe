#include "core/csv_import.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace tessra;

namespace {

// The first cells of row 0 after importing bytes as X x Y.
std::vector<int> Row0(const std::string& bytes, int X, int Y = 1) {
    const auto map = ImportCsv(bytes, X, Y);
    EXPECT_TRUE(map.ok()) << map.message();
    std::vector<int> row;
    for (int x = 0; map.ok() && x < X; ++x) {
        row.push_back(map.value()(x, 0));
    }
    return row;
}

} // namespace

TEST(CsvImport, SizeBoxes) {
    const struct {
        const char *x, *y, *refusal;
        int X, Y;
    } cases[] = {
        {"256", "1", "Illegal X size", 0, 0}, {"0", "1", "Illegal X size", 0, 0},
        {"", "1", "Illegal X size", 0, 0},    {"abc", "1", "Illegal X size", 0, 0},
        {"0.5", "1", "Illegal X size", 0, 0}, {"255.5", "1", "Illegal X size", 0, 0},
        {"3", "300", "Illegal Y size", 0, 0}, {"300", "", "Illegal X size", 0, 0},
        {"255", "255", nullptr, 255, 255},    {"2.9", " 1.5 ", nullptr, 2, 1},
    };
    for (const auto& c : cases) {
        const auto size = CheckCsvSize(c.x, c.y);
        if (c.refusal) {
            ASSERT_FALSE(size.ok()) << c.x << ' ' << c.y;
            EXPECT_EQ(size.message(), c.refusal);
        } else {
            ASSERT_TRUE(size.ok()) << c.x << ' ' << c.y;
            EXPECT_EQ(size.value().X, c.X);
            EXPECT_EQ(size.value().Y, c.Y);
        }
    }
    EXPECT_EQ(CsvFileNotFoundMessage("a b.csv"), "File not found: a b.csv");
}

TEST(CsvImport, MappyExampleFillsRowByRow) {
    const auto map = ImportCsv("4,5,6,\r\n7,8,9,\r\n", 3, 2);
    ASSERT_TRUE(map.ok()) << map.message();
    MapGrid expected;
    const int tiles[2][3] = {{5, 6, 7}, {8, 9, 10}};
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 3; ++x) {
            expected(x, y) = static_cast<std::uint8_t>(tiles[y][x]);
        }
    }
    EXPECT_TRUE(map.value() == expected);
}

TEST(CsvImport, ValueRules) {
    EXPECT_EQ(Row0("-1,254,255,-2", 4), (std::vector<int>{0, 255, 0, 0}));
    EXPECT_EQ(Row0("0,3,9", 2), (std::vector<int>{4, 10}));                 // 0 then 3 stores 4
    EXPECT_EQ(Row0("0,0,9", 2), (std::vector<int>{1, 10}));                 // a second 0 stays 0
    EXPECT_EQ(Row0(" 4 , ,\t5", 2), (std::vector<int>{5, 6}));              // blanks, empty value
    EXPECT_EQ(Row0("1\n2\r3\r\n\r\n4", 4), (std::vector<int>{2, 3, 4, 5})); // line ends
    EXPECT_EQ(Row0("5,0", 2), (std::vector<int>{6, 1}));                    // the final 0 stands
    EXPECT_EQ(Row0("+7,-0,8", 2), (std::vector<int>{8, 9}));
}

TEST(CsvImport, FullSizeLeavesLastRowAndColumnEmpty) {
    std::string bytes;
    for (int i = 0; i < 255 * 255; ++i) {
        bytes += "1,";
    }
    const auto map = ImportCsv(bytes, 255, 255);
    ASSERT_TRUE(map.ok()) << map.message();
    EXPECT_EQ(map.value()(254, 254), 2);
    EXPECT_EQ(map.value()(255, 0), 0);
    EXPECT_EQ(map.value()(0, 255), 0);
}

TEST(CsvImport, RefusesNamingLineAndValue) {
    const struct {
        const char* bytes;
        int X, Y;
        const char* where;
    } cases[] = {
        {"1,2\r\n3,x", 2, 2, "Line 2, value 2"},  {"1,2.5", 2, 1, "Line 1, value 2"},
        {"1,-", 2, 1, "Line 1, value 2"},         {"40000", 1, 1, "Line 1, value 1"},
        {"1\r\n-32769", 2, 1, "Line 2, value 1"}, {"1,2\r\n", 3, 1, "line 1, value 2"},
        {"1,0", 3, 1, "line 1, value 2"},         {"", 1, 1, "no values"},
    };
    for (const auto& c : cases) {
        const auto map = ImportCsv(c.bytes, c.X, c.Y);
        ASSERT_FALSE(map.ok()) << c.bytes;
        EXPECT_NE(map.message().find(c.where), std::string::npos) << map.message();
    }
    EXPECT_TRUE(ImportCsv("32767,-32768", 2, 1).ok());
    EXPECT_TRUE(ImportCsv("1,2,not read", 2, 1).ok());
}
