#include "core/text_value.h"

#include <cfenv>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

using namespace tessra;

namespace {

constexpr double Infinity = std::numeric_limits<double>::infinity();

struct TextCase {
    const char* text;
    double value;
};

} // namespace

TEST(TextValue, ReadsTheLongestLeadingNumber) {
    const TextCase cases[] = {
        {"", 0},
        {"abc", 0},
        {"12abc", 12},
        {" 1 2\t3\n\r", 123},
        {"-4.5", -4.5},
        {"+7", 7},
        {"1.2.3", 1.2},
        {".5", 0.5},
        {"5.", 5},
        {"-", 0},
        {"--1", 0},
        {"3,5", 3},
        {"1e3", 1000},
        {"1E-2", 0.01},
        {"2 e 2", 200},
        {"2e", 2},
        {"2e+x", 2},
        {"&H1F", 31},
        {"&hff", 255},
        {"& h 10", 16},
        {"&O17", 15},
        {"&o8", 0},
        {"&H", 0},
        {"&", 0},
        {"&Hfg", 15},
        {"1e999", Infinity},
        {"-1e999", -Infinity},
        {"1e-999", 0},
        {"0.1e400", Infinity},
        {"007", 7},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TextValue(c.text), c.value) << '"' << c.text << '"';
    }
}

TEST(TextValue, RoundsHalfToEvenWhateverTheRoundingMode) {
    const TextCase cases[] = {{"2.5", 2},   {"3.5", 4},       {"-2.5", -2},
                              {"-3.5", -4}, {"2.6", 3},       {"-0.5", 0},
                              {"0.4", 0},   {"1e300", 1e300}, {"0.49999999999999994", 0}};
    for (const int mode : {FE_TONEAREST, FE_UPWARD, FE_DOWNWARD, FE_TOWARDZERO}) {
        std::fesetround(mode);
        for (const auto& c : cases) {
            EXPECT_EQ(RoundHalfEven(TextValue(c.text)), c.value) << c.text << " mode " << mode;
        }
    }
    std::fesetround(FE_TONEAREST);
}

TEST(TextValue, ToInt16RefusesWhatDoesNotFit) {
    EXPECT_EQ(ToInt16(32767.4), 32767);
    EXPECT_EQ(ToInt16(-32768.5), -32768);
    EXPECT_EQ(ToInt16(32767.5), std::nullopt);
    EXPECT_EQ(ToInt16(-32769), std::nullopt);
    EXPECT_EQ(ToInt16(Infinity), std::nullopt);
    EXPECT_EQ(ToInt16(std::nan("")), std::nullopt);
}
