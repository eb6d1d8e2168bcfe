#include "core/render/pack_rgb.h"

#include <gtest/gtest.h>
#include <vector>

using namespace tessra;

// Every count from 0 to 40 runs the wide steps and each length of the tail;
// the bytes after the output must stay as they were.
TEST(PackRgb, WritesThreeBytesAPixelAndNothingPastThem) {
    constexpr std::uint8_t Guard = 0xA5;
    constexpr std::size_t GuardBytes = 32;
    for (std::size_t count = 0; count <= 40; ++count) {
        std::vector<Pixel> pixels;
        std::vector<std::uint8_t> red, green, blue, expected;
        for (std::size_t i = 0; i < count; ++i) {
            const auto r = static_cast<std::uint8_t>(3 * i + 1);
            const auto g = static_cast<std::uint8_t>(200 - i);
            const auto b = static_cast<std::uint8_t>(i * i);
            pixels.push_back(Rgb(r, g, b));
            red.push_back(r);
            green.push_back(g);
            blue.push_back(b);
            expected.insert(expected.end(), {r, g, b});
        }
        expected.insert(expected.end(), GuardBytes, Guard);
        std::vector<std::uint8_t> packed(3 * count + GuardBytes, Guard);
        PackRgb(pixels.data(), count, packed.data());
        EXPECT_EQ(packed, expected) << count << " pixels";
        std::vector<std::uint8_t> interleaved(3 * count + GuardBytes, Guard);
        InterleaveRgb(red.data(), green.data(), blue.data(), count, interleaved.data());
        EXPECT_EQ(interleaved, expected) << count << " pixels from planes";
    }
}
