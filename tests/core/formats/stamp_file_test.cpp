#include "core/formats/stamp_file.h"
#include "io/bounded_run.h"

#include <cstring>
#include <gtest/gtest.h>
#include <sys/mman.h>

using namespace tessra;

TEST(StampFile, RoundTripsTheShownBlock) {
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
    const auto stamp =
        ParseStamp("\xEF\xBB\xBFTESSRA-STAMP 1\n 3\t2 \n0 1 2\n255  4 5\n\n\r\n", "s.tstamp");
    ASSERT_TRUE(stamp.ok()) << stamp.message();
    EXPECT_EQ(WriteStampBytes(stamp.value().Width, stamp.value().Height, stamp.value().Cells),
              "TESSRA-STAMP 1\r\n3 2\r\n0 1 2\r\n255 4 5\r\n");
}

TEST(StampFile, RefusesMalformedFilesNamingTheLine) {
    const std::string header = "TESSRA-STAMP 1\n";
    const std::pair<std::string, const char*> cases[] = {
        {"", "line 1 must read \"TESSRA-STAMP 1\"."},
        {header, "line 2 must hold the width and height, two whole numbers from 2 to 8."},
        {header + "9 2\n", "line 2 must hold"},
        {header + "2 1\n0 0\n", "line 2 must hold"},
        {header + "1 2\n0\n0\n", "line 2 must hold"},
        {"TESSRA-STAMP 1\r\n2 3\r\n1 2\r\n3 4\r\n", "line 5 is missing; the stamp has 3 rows."},
        {header + "2 2\n1 2 3\n1 2\n", "line 3 holds 3 numbers; each row of this stamp"},
        {header + "2 2\n1 2\n1 256\n", "line 4 holds \"256\" where a tile number"},
        {header + "2 2\n1 2\n1 &H1\n", "line 4 holds \"&H1\""},
        {header + "2 2\n1 2\n-0 1\n", "line 4 holds \"-0\""},
        {header + "2 2\n1 2\n1 2\n\n3 4\n", "line 6 follows the last row"},
    };
    const std::string prefix = "Cannot load stamp C:\\stamps\\bad.tstamp: ";
    for (const auto& [bytes, reason] : cases) {
        const auto stamp = ParseStamp(bytes, "C:\\stamps\\bad.tstamp");
        ASSERT_FALSE(stamp.ok()) << bytes;
        EXPECT_EQ(stamp.message().substr(0, prefix.size() + std::strlen(reason)), prefix + reason);
    }
}

// The reader stops at the first line that cannot belong to a stamp: here the
// bytes after that line lie in memory that may not be read, so a reader that
// looked at them would not come back.
TEST(StampFile, StopsAtTheFirstLineThatCannotBelong) {
    const std::size_t page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    auto* memory = static_cast<char*>(
        ::mmap(nullptr, 2 * page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
    ASSERT_NE(memory, MAP_FAILED);
    ::mprotect(memory + page, page, PROT_NONE);
    const std::pair<std::string, const char*> cases[] = {
        {"\n\n\n", "line 1 must read"},
        {"TESSRA-STAMP 1\n2 2\n1 2\n300 4\n", "line 4 holds \"300\""},
        {"TESSRA-STAMP 1\n2 2\n1 2\n3 4\n\nmore\n", "line 6 follows the last row"},
    };
    for (const auto& [start, reason] : cases) {
        char* first = memory + page - start.size();
        std::memcpy(first, start.data(), start.size());
        const std::string said = RunBounded([&] {
            return ParseStamp({first, start.size() + page}, "s.tstamp").message();
        });
        EXPECT_NE(said.find(reason), std::string::npos) << said;
    }
    ::munmap(memory, 2 * page);
}
