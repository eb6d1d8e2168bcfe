#include "core/base/message_text.h"
#include "core/base/number_text.h"
#include "core/formats/csv_import.h"
#include "core/formats/project_file.h"
#include "core/formats/stamp_file.h"

#include <cfenv>
#include <cstdint>
#include <gtest/gtest.h>
#include <limits>
#include <optional>

using namespace tessra;

namespace {

constexpr double Inf = std::numeric_limits<double>::infinity();

} // namespace

TEST(TextValue, ReadsTheLongestLeadingNumber) {
    const std::pair<const char*, double> cases[] = {
        {"", 0},          {"12abc", 12},  {"1\r2", 12},   {" 1 2\t3\n\r", 123}, {"-4.5", -4.5},
        {"+7", 7},        {"1.2.3", 1.2}, {".5", 0.5},    {"--1", 0},           {"1E-2", 0.01},
        {"2 e 2", 200},   {"2e+x", 2},    {"&hff", 255},  {"& h 10", 16},       {"&O17", 15},
        {"&o8", 0},       {"&Hfg", 15},   {"1e999", Inf}, {"-1e999", -Inf},     {"1e-999", 0},
        {"0.1e400", Inf},
    };
    for (const auto& [text, value] : cases) {
        EXPECT_EQ(TextValue(text), value) << '"' << text << '"';
    }
}

TEST(TextValue, RoundsHalfToEvenWhateverTheRoundingMode) {
    const std::pair<const char*, double> cases[] = {
        {"2.5", 2}, {"3.5", 4}, {"-2.5", -2}, {"2.6", 3}, {"-0.5", 0}, {"0.49999999999999994", 0}};
    for (const int mode : {FE_TONEAREST, FE_UPWARD, FE_DOWNWARD, FE_TOWARDZERO}) {
        std::fesetround(mode);
        for (const auto& [text, value] : cases) {
            EXPECT_EQ(RoundHalfEven(TextValue(text)), value) << text << " mode " << mode;
        }
    }
    std::fesetround(FE_TONEAREST);
}

// Both sides of each limit, for each way a box's number becomes whole.
TEST(TextValue, BoxNumbersKeepToTheirRange) {
    using enum BoxRounding;
    const struct {
        const char* text;
        int low, high;
        BoxRounding rounding;
        std::optional<int> read;
    } cases[] = {
        {"255.5", 0, 255, HalfEven, std::nullopt},
        {"254.5", 0, 255, HalfEven, 254},
        {"-0.5", 0, 255, HalfEven, 0},
        {"-1", 0, 255, HalfEven, std::nullopt},
        {"256.9", 1, 256, WholePart, 256},
        {"257", 1, 256, WholePart, std::nullopt},
        {"0.9", 1, 256, WholePart, std::nullopt},
        {"1e999", 1, 256, WholePart, std::nullopt},
        {"255.5", 1, 255, WholePartOfInRange, std::nullopt},
        {"255", 1, 255, WholePartOfInRange, 255},
        {"1", 1, 255, WholePartOfInRange, 1},
        {"0.99", 1, 255, WholePartOfInRange, std::nullopt},
        {"-32768", INT16_MIN, INT16_MAX, HalfEven, -32768},
        {"-32769", INT16_MIN, INT16_MAX, HalfEven, std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(BoxNumber(c.text, c.low, c.high, c.rounding), c.read) << c.text;
    }
}

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
