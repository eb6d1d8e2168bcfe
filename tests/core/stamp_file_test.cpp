#include "core/stamp_file.h"

#include <cstring>
#include <gtest/gtest.h>

using namespace tessra;

TEST(StampFile, RoundTripsTheShownBlockAndKeepsHiddenCellsOnLoad) {
    StampCells cells{};
    for (int n = 0; n < StampMaxSize * StampMaxSize; ++n) {
        cells[n] = static_cast<std::int16_t>(n * 4 + 3);
    }
    EXPECT_EQ(WriteStampBytes(3, 2, cells), "TESSRA-STAMP 1\r\n3 2\r\n3 7 11\r\n35 39 43\r\n");
    for (const auto& [w, h] : {std::pair(2, 2), {8, 3}, {5, 8}, {8, 8}}) {
        const auto stamp = ParseStamp(WriteStampBytes(w, h, cells), "s.tstamp");
        ASSERT_TRUE(stamp.ok()) << stamp.message();
        EXPECT_EQ(std::pair(stamp.value().Width, stamp.value().Height), std::pair(w, h));
        for (int n = 0; n < StampMaxSize * StampMaxSize; ++n) {
            const bool shown = n % StampMaxSize < w && n / StampMaxSize < h;
            EXPECT_EQ(stamp.value().Cells[n], shown ? cells[n] : 0) << n;
        }
    }

    // Hand-written: a byte order mark, LF, tabs, runs of blanks, empty lines at the end.
    EditorState state;
    state.StampBuilderData.fill(200);
    StampBuilderModel builder;
    const auto stamp =
        ParseStamp("\xEF\xBB\xBFTESSRA-STAMP 1\n 3\t2 \n0 1 2\n255  4 5\n\n\r\n", "s.tstamp");
    ASSERT_TRUE(stamp.ok()) << stamp.message();
    LoadBuilderStamp(stamp.value(), builder, state);
    EXPECT_EQ(std::pair(builder.SizeIndexX, builder.SizeIndexY), std::pair(1, 0));
    EXPECT_EQ(StampCell(state.StampBuilderData, 3, 0) + StampCell(state.StampBuilderData, 0, 2),
              400);
    EXPECT_EQ(WriteBuilderStamp(builder, state), "TESSRA-STAMP 1\r\n3 2\r\n0 1 2\r\n255 4 5\r\n");
}

TEST(StampFile, RefusesMalformedFilesNamingTheLine) {
    const std::string header = "TESSRA-STAMP 1\n";
    const std::pair<std::string, const char*> cases[] = {
        {"", "line 1 must read \"TESSRA-STAMP 1\"."},
        {"TESSRA-STAMP 2\n2 2\n0 0\n0 0\n", "line 1 must read"},
        {header, "line 2 must hold the width and height, two whole numbers from 2 to 8."},
        {header + "9 2\n", "line 2 must hold"},
        {header + "2 1\n0 0\n", "line 2 must hold"},
        {header + "2.0 2\n", "line 2 must hold"},
        {"TESSRA-STAMP 1\r\n2 3\r\n1 2\r\n3 4\r\n", "line 5 is missing; the stamp has 3 rows."},
        {header + "2 2\n1 2 3\n1 2\n",
         "line 3 holds 3 numbers; each row of this stamp holds 2 numbers."},
        {header + "2 2\n\n1 2\n1 2\n", "line 3 holds 0 numbers"},
        {header + "2 2\n1 2\n1 256\n",
         "line 4 holds \"256\" where a tile number from 0 to 255 belongs."},
        {header + "2 2\n1 2\n-0 1\n", "line 4 holds \"-0\""},
        {header + "2 2\n1 2\n1 &H1\n", "line 4 holds \"&H1\""},
        {header + "2 2\n1 2\n1 2\n\n3 4\n",
         "line 6 follows the last row; the file should end there."},
    };
    const std::string prefix = "Cannot load stamp C:\\stamps\\bad.tstamp: ";
    for (const auto& [bytes, reason] : cases) {
        const auto stamp = ParseStamp(bytes, "C:\\stamps\\bad.tstamp");
        ASSERT_FALSE(stamp.ok()) << bytes;
        EXPECT_EQ(stamp.message().substr(0, prefix.size() + std::strlen(reason)), prefix + reason);
    }
}
