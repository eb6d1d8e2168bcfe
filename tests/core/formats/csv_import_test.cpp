#include "core/formats/csv_import.h"

#include <array>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace tessra;

namespace {

// The cells of rows 0..Y-1, each one column past X, after importing bytes as X x Y.
std::vector<int> Imported(const std::string& bytes, int X, int Y = 1) {
    const auto map = ImportCsv(bytes, X, Y);
    EXPECT_TRUE(map.ok()) << map.message();
    std::vector<int> cells;
    for (int i = 0; map.ok() && i < (X + 1) * Y; ++i) {
        cells.push_back(map.value()(i % (X + 1), i / (X + 1)));
    }
    return cells;
}

} // namespace

// The size boxes read as "X Y", or are refused.
TEST(CsvImport, SizeBoxes) {
    const std::array<const char*, 3> cases[] = {
        {"0.5", "1", "Illegal X size"}, {"255.5", "1", "Illegal X size"},
        {"3", "300", "Illegal Y size"}, {"255", "255", "255 255"},
        {"2.9", " 1.5 ", "2 1"},
    };
    for (const auto& [x, y, read] : cases) {
        const auto size = CheckCsvSize(x, y);
        EXPECT_EQ(size.ok() ? std::to_string(size.value().X) + ' ' + std::to_string(size.value().Y)
                            : size.message(),
                  read);
    }
}

TEST(CsvImport, ValueRules) {
    const std::pair<std::vector<int>, std::vector<int>> cases[] = {
        {Imported("4,5,6,\r\n7,8,9,\r\n", 3, 2), {5, 6, 7, 0, 8, 9, 10, 0}}, // row by row
        {Imported("-1,254,255,-2", 4), {0, 255, 0, 0, 0}},
        {Imported("0,3,9", 2), {4, 10, 0}},                 // 0 then 3 stores 4
        {Imported("0,0,9", 2), {1, 10, 0}},                 // a second 0 stays 0
        {Imported(" 4 , ,\t5", 2), {5, 6, 0}},              // blanks, an empty value
        {Imported("1\n2\r3\r\n\r\n4", 4), {2, 3, 4, 5, 0}}, // line ends
        {Imported("5,0", 2), {6, 1, 0}},                    // the final 0 stands
        {Imported("4,0,5,6,\r\n0,0,7,8,\r\n", 3, 2),
         {5, 6, 7, 0, 1, 8, 9, 0}}, // the help's example
    };
    for (const auto& [cells, expected] : cases) {
        EXPECT_EQ(cells, expected);
    }
}

// Refusals name the line and value; values past the last cell are not read.
// The largest size is 255 both ways.
TEST(CsvImport, RefusesNamingLineAndValue) {
    std::string row, column; // 255 values across, and down
    for (int i = 0; i < 255; ++i) {
        row += "1,";
        column += "1\n";
    }
    const struct {
        std::string bytes;
        int X, Y;
        const char* where;
    } cases[] = {
        {"1,2\r\n3,x", 2, 2, "Line 2, value 2"},
        {"1,2.5", 2, 1, "Line 1, value 2"},
        {"1,-", 2, 1, "Line 1, value 2"},
        {"40000", 1, 1, "Line 1, value 1"},
        {"1,2\r\n", 3, 1, "line 1, value 2"},
        {"1,0", 3, 1, "line 1, value 2"},
        {"", 1, 1, "no values"},
        {"1,2,not read", 2, 1, nullptr},
        {"32767,-32768", 2, 1, nullptr},
        {row, 255, 1, nullptr},
        {row, 256, 1, "Illegal X size"},
        {column, 1, 255, nullptr},
        {column, 1, 256, "Illegal Y size"},
    };
    for (const auto& c : cases) {
        const auto map = ImportCsv(c.bytes, c.X, c.Y);
        ASSERT_EQ(map.ok(), !c.where) << c.bytes.substr(0, 20) << ' ' << c.X << ' ' << c.Y;
        EXPECT_TRUE(!c.where || map.message().find(c.where) != std::string::npos) << c.bytes;
    }
}
