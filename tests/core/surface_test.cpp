#include "core/surface.h"

#include <gtest/gtest.h>

using namespace tessra;

TEST(Surface, StretchBltEnlargesByRepeatingAndClips) {
    Surface src(2, 1);
    src.Set(0, 0, Rgb(1, 2, 3));
    src.Set(1, 0, White);
    Surface dst(5, 2);
    StretchBlt(dst, 1, 0, 4, 4, src, 0, 0, 2, 1);
    EXPECT_EQ(dst.At(0, 0), Black);
    EXPECT_EQ(dst.At(1, 1), Rgb(1, 2, 3));
    EXPECT_EQ(dst.At(2, 1), Rgb(1, 2, 3));
    EXPECT_EQ(dst.At(3, 0), White);
    EXPECT_EQ(dst.At(4, 1), White);
}

TEST(Surface, SourceOutsideReadsBlack) {
    Surface src(1, 1);
    src.Clear(White);
    Surface dst(2, 2);
    dst.Clear(White);
    BitBlt(dst, 0, 0, 2, 2, src, 0, 0);
    EXPECT_EQ(dst.At(0, 0), White);
    EXPECT_EQ(dst.At(1, 0), Black);
    EXPECT_EQ(dst.At(1, 1), Black);
}
