#include "core/project_file.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace tessra;

namespace {

std::vector<std::string> Lines(const std::string& bytes) {
    std::vector<std::string> lines;
    for (std::size_t pos = 0; pos < bytes.size();) {
        const std::size_t end = bytes.find("\r\n", pos);
        lines.push_back(bytes.substr(pos, end - pos));
        pos = end + 2;
    }
    return lines;
}

// An empty document's file with line (1-based) replaced, or cut at that line.
std::string EmptyFileWith(std::size_t lineNumber, const std::string& line, bool cut = false) {
    std::string bytes;
    const auto lines = Lines(WriteProjectBytes({}, MapGrid{}));
    for (std::size_t i = 1; i <= lines.size(); ++i) {
        if (i == lineNumber) {
            if (cut) {
                break;
            }
            bytes += line + "\r\n";
        } else {
            bytes += lines[i - 1] + "\r\n";
        }
    }
    return bytes;
}

MapGrid MixedMap() {
    MapGrid map;
    for (int i = 0; i < CellCount; ++i) {
        map.data()[i] = static_cast<std::uint8_t>(i * 7 + i / 256);
    }
    return map;
}

} // namespace

TEST(ProjectFile, EmptyDocumentLayout) {
    const std::string bytes = WriteProjectBytes({}, MapGrid{});
    EXPECT_EQ(bytes.size(), 327685u);
    const auto lines = Lines(bytes);
    ASSERT_EQ(lines.size(), 65537u);
    EXPECT_EQ(bytes.substr(0, 10), " 0 \r\n 0 \r\n");
    EXPECT_EQ(bytes.substr(bytes.size() - 5), " 0 \r\n");
}

TEST(ProjectFile, PathsThenCellsColumnByColumn) {
    MapGrid map;
    map(0, 1) = 255;
    map(1, 0) = 17;
    const std::string bytes = WriteProjectBytes({"a.pcx", "b.pcx"}, map);
    const auto lines = Lines(bytes);
    const std::size_t n = 2;
    EXPECT_EQ(lines[0], " 2 ");
    EXPECT_EQ(lines[1], "a.pcx");
    EXPECT_EQ(lines[n + 3 - 1], " 255 ");          // cell (0, 1) on line N + 3
    EXPECT_EQ(lines[n + 258 - 1], " 17 ");         // cell (1, 0) on line N + 258
    EXPECT_EQ(bytes.size(), 327685u + 14 + 2 + 1); // two paths, a 7-byte and a 6-byte cell
}

TEST(ProjectFile, RoundTripKeepsPathsAndCells) {
    const std::vector<std::string> paths = {"C:\\maps\\my tiles, v2.pcx", "/a b/c,d.pcx", "x"};
    const MapGrid map = MixedMap();
    const auto project = ParseProject(WriteProjectBytes(paths, map), "level.tessra");
    ASSERT_TRUE(project.ok()) << project.message();
    EXPECT_EQ(project.value().Tilesets, paths);
    EXPECT_TRUE(project.value().MapData == map);
}

TEST(ProjectFile, ReadsLeniently) {
    const std::string half = EmptyFileWith(2, " 2.5 ");
    const std::string noFinalEnd = half.substr(0, half.size() - 2);
    std::string lf;
    for (const char c : EmptyFileWith(3, " 3.5 ")) {
        if (c != '\r') {
            lf += c;
        }
    }
    const struct {
        std::string bytes;
        int x, y, value;
    } cases[] = {
        {noFinalEnd, 0, 0, 2},
        {half + "extra lines are not read\r\n", 0, 0, 2},
        {lf, 0, 1, 4},
        {EmptyFileWith(4, "no number"), 0, 2, 0},
        {EmptyFileWith(5, " 1 2 \t"), 0, 3, 12},
        {EmptyFileWith(6, "&HFF"), 0, 4, 255},
        {EmptyFileWith(7, "-0.4"), 0, 5, 0},
    };
    for (const auto& c : cases) {
        const auto project = ParseProject(c.bytes, "f");
        ASSERT_TRUE(project.ok()) << project.message();
        EXPECT_EQ(project.value().MapData(c.x, c.y), c.value) << c.value;
    }
    const auto paths = ParseProject(" 1 \n  spaced path.pcx  \n" + lf.substr(4), "f");
    ASSERT_TRUE(paths.ok()) << paths.message();
    EXPECT_EQ(paths.value().Tilesets, std::vector<std::string>{"spaced path.pcx"});
}

TEST(ProjectFile, RefusesWholeNamingFileAndLine) {
    const struct {
        std::string bytes;
        const char* where;
    } cases[] = {
        {"", "empty"},
        {EmptyFileWith(65537, "", true), "line 65536"},
        {EmptyFileWith(1, " 2.5 "), "line 1"},
        {EmptyFileWith(1, " -1 "), "line 1"},
        {EmptyFileWith(1, " 1 "), "line 65537"}, // the count swallows a cell line
        {EmptyFileWith(1, " 1e300 "), "line 65537"},
        {EmptyFileWith(300, " 256 "), "line 300"},
        {EmptyFileWith(301, " -1 "), "line 301"},
        {EmptyFileWith(302, " 255.5 "), "line 302"},
        {EmptyFileWith(303, "1e999"), "line 303"},
    };
    for (const auto& c : cases) {
        const auto project = ParseProject(c.bytes, "/maps/level 1.tessra");
        ASSERT_FALSE(project.ok()) << c.where;
        EXPECT_NE(project.message().find("/maps/level 1.tessra"), std::string::npos);
        EXPECT_NE(project.message().find(c.where), std::string::npos) << project.message();
    }
}
