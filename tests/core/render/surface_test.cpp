#include "core/render/surface.h"

#include <gtest/gtest.h>

using namespace tessra;

// StretchBlt enlarges by repeating and clips; BitBlt reads black outside its source.
TEST(Surface, BlitsClipAndReadBlackOutsideTheSource) {
    Surface src(2, 1);
    src.Set(0, 0, Rgb(1, 2, 3));
    src.Set(1, 0, White);
    Surface dst(5, 2);
    StretchBlt(dst, 1, 0, 4, 4, src, 0, 0, 2, 1);
    EXPECT_EQ(dst.At(0, 0), Black);
    EXPECT_EQ(dst.At(2, 1), Rgb(1, 2, 3));
    EXPECT_EQ(dst.At(3, 0), White);
    EXPECT_EQ(dst.At(4, 1), White);

    BitBlt(dst, 0, 0, 2, 2, src, 1, 0);
    EXPECT_EQ(dst.At(0, 0), White);
    EXPECT_EQ(dst.At(1, 0), Black);
    EXPECT_EQ(dst.At(0, 1), Black);
}
