#include "core/base/message_text.h"
#include "core/formats/csv_import.h"
#include "core/formats/project_file.h"
#include "core/formats/stamp_file.h"

#include <gtest/gtest.h>

using namespace tessra;

TEST(Shortened, CutsLongTextAtACharacter) {
    const std::string e = "\xC3\xA9"; // U+00E9, two bytes
    const struct {
        std::string text, shown;
    } cases[] = {
        {std::string(100, 'a'), std::string(100, 'a')},
        {std::string(101, 'a'), std::string(100, 'a') + "..."},
        {std::string(99, 'a') + e, std::string(99, 'a') + "..."},
        {std::string(98, 'a') + e + "b", std::string(98, 'a') + e + "..."},
        {std::string(101, '\xE9'), std::string(100, '\xE9') + "..."}, // not UTF-8: bytes
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Shortened(c.text), c.shown) << c.text.size();
    }
}

// A megabyte of name or value makes a message of about a hundred bytes of it.
TEST(Shortened, KeepsEveryMessageShort) {
    const std::string huge(1 << 20, 'x');
    const std::string messages[] = {
        ParseProject("", huge).message(),
        ParseProject(" 1 \r\n" + huge, "f").message(),
        ParseStamp("", huge).message(),
        ParseStamp("TESSRA-STAMP 1\n2 2\n" + huge + " 1\n", "f").message(),
        ImportCsv(huge, 2, 2).message(),
        ImportCsv("1" + huge, 2, 2).message(),
        CsvFileNotFoundMessage(huge),
    };
    for (const std::string& message : messages) {
        EXPECT_FALSE(message.empty());
        EXPECT_LT(message.size(), 250u) << message.substr(0, 300);
    }
}
