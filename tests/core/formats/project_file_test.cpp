#include "core/formats/project_file.h"
#include "core/formats/recovery_file.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <tuple>
#include <vector>

using namespace tessra;

namespace {

// An empty document's file, 65,537 lines of " 0 " (327,685 bytes), with line
// `number` (from 1) replaced.
std::string EmptyFileWith(int number = 0, const std::string& line = "") {
    std::string bytes;
    for (int i = 1; i <= 65537; ++i) {
        bytes += (i == number ? line : " 0 ") + "\r\n";
    }
    return bytes;
}

// Where two files first differ, npos when they are the same: gtest's own
// diff of 65,537 lines would take too long.
std::size_t FirstDifference(const std::string& a, const std::string& b) {
    const auto [ia, ib] = std::mismatch(a.begin(), a.end(), b.begin(), b.end());
    return ia == a.end() && ib == b.end() ? std::string::npos : ia - a.begin();
}

} // namespace

TEST(ProjectFile, PathsThenCellsColumnByColumn) {
    EXPECT_EQ(FirstDifference(WriteProjectBytes({}, MapGrid{}), EmptyFileWith()),
              std::string::npos);
    MapGrid map;
    map(0, 1) = 255; // line N + 3
    EXPECT_EQ(FirstDifference(WriteProjectBytes({"a.pcx", "b.pcx"}, map),
                              " 2 \r\na.pcx\r\nb.pcx\r\n" + EmptyFileWith(3, " 255 ").substr(5)),
              std::string::npos);
}

TEST(ProjectFile, RoundTripKeepsPathsAndCells) {
    const std::vector<std::string> paths = {"C:\\maps\\my tiles, v2.pcx", "/a b/c,d.pcx", "x"};
    MapGrid map;
    for (int i = 0; i < CellCount; ++i) {
        map.data()[i] = static_cast<std::uint8_t>(i * 7 + i / 256);
    }
    const auto project = ParseProject(WriteProjectBytes(paths, map), "level.tessra");
    ASSERT_TRUE(project.ok()) << project.message();
    EXPECT_EQ(project.value().Tilesets, paths);
    EXPECT_EQ(project.value().MapData, map);

    // A recovery copy holds the whole document behind the original name; a
    // copy from before copies held attributes restores all zeros.
    const Document plain{map, paths, {}, "/m"};
    Document document = plain;
    document.Attributes[255] = {15, true, true, false, 200};
    for (const bool attributes : {true, false}) {
        const std::string copy = attributes ? WriteRecoveryBytes("/m/level.tessra", document)
                                            : "TESSRA recovery copy\r\n/m/level.tessra\r\n/m\r\n" +
                                                  WriteProjectBytes(paths, map);
        const auto recovered = ParseRecovery(copy, "copy");
        ASSERT_TRUE(recovered.ok()) << recovered.message();
        EXPECT_EQ(recovered.value().FileName, "/m/level.tessra");
        EXPECT_EQ(recovered.value().Content, attributes ? document : plain);
        EXPECT_EQ(ParseRecovery(copy.substr(0, 40), "copy").message(),
                  "copy is not a TESSRA recovery copy.");
        EXPECT_FALSE(ParseRecovery(copy.substr(0, copy.size() - 9), "copy").ok());
    }
}

TEST(ProjectFile, ReadsLeniently) {
    const std::string half = EmptyFileWith(2, " 2.5 ");
    std::string lf = EmptyFileWith(3, " 3.5 ");
    std::erase(lf, '\r');
    // The last line may lack its line end, as long as its blank is there.
    const std::string last = EmptyFileWith(65537, " 255 ");
    const struct {
        std::string bytes;
        int y, value; // of the cell (0, y)
    } cases[] = {
        {half.substr(0, half.size() - 2), 0, 2},
        {last.substr(0, last.size() - 2), 255, 0},
        {last.substr(0, last.size() - 1), 255, 0},
        {half + "extra lines are not read\r\n", 0, 2},
        {lf, 1, 4},
        {EmptyFileWith(4, "no number"), 2, 0},
        {EmptyFileWith(5, "-0.4"), 3, 0},
    };
    for (const auto& c : cases) {
        const auto project = ParseProject(c.bytes, "f");
        ASSERT_TRUE(project.ok()) << project.message();
        EXPECT_EQ(project.value().MapData(0, c.y), c.value) << c.y;
    }
    const auto cell = ParseProject(last.substr(0, last.size() - 2), "f");
    EXPECT_EQ(cell.value().MapData(255, 255), 255);
    // A UTF-8 byte order mark, as text editors write, is skipped.
    for (const std::string start : {"", "\xEF\xBB\xBF"}) {
        const auto paths = ParseProject(start + " 1 \n  spaced path.pcx  \n" + lf.substr(4), "f");
        ASSERT_TRUE(paths.ok()) << paths.message();
        EXPECT_EQ(paths.value().Tilesets, std::vector<std::string>{"spaced path.pcx"});
        EXPECT_EQ(paths.value().MapData(0, 1), 4);
    }
}

// A damaged file is refused, never read shifted by a line or with a number cut.
TEST(ProjectFile, RefusesWholeNamingFileAndLine) {
    std::string utf16 = "\xFF\xFE";
    for (const char c : EmptyFileWith().substr(0, 4096)) {
        utf16 += std::string{c, '\0'};
    }
    const std::string cut = EmptyFileWith(65537, " 255 ");
    const std::pair<std::string, const char*> cases[] = {
        {"", "empty"},
        {utf16, "line 1 must hold the number of tilesets"},
        {EmptyFileWith(1, "nan"), "line 1"},
        {EmptyFileWith(1, "  "), "line 1"},
        {EmptyFileWith(1, "tilesets: 0"), "line 1"},
        {EmptyFileWith(1, "&H"), "line 1"},
        {cut.substr(0, cut.size() - 3), "ends inside line 65537, its last cell line"},
        {cut.substr(0, cut.size() - 4), "ends inside line 65537"},
        {cut.substr(0, cut.size() - 6), "ends inside line 65537"},
        {EmptyFileWith().substr(0, 5 * 65536), "line 65536"},
        {EmptyFileWith(1, " 2.5 "), "line 1"},
        {EmptyFileWith(1, " -1 "), "line 1"},
        {EmptyFileWith(1, " 1 "), "line 65537"}, // the count swallows a cell line
        {EmptyFileWith(300, " 256 "), "line 300"},
        {EmptyFileWith(301, " -1 "), "line 301"},
        {EmptyFileWith(302, " 255.5 "), "line 302"},
    };
    for (const auto& [bytes, where] : cases) {
        const auto project = ParseProject(bytes, "/maps/level 1.tessra");
        ASSERT_FALSE(project.ok()) << where;
        EXPECT_NE(project.message().find("/maps/level 1.tessra"), std::string::npos);
        EXPECT_NE(project.message().find(where), std::string::npos) << project.message();
    }
}
