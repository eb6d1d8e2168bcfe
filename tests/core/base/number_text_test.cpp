#include "core/base/number_text.h"

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
