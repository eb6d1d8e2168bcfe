#include "core/formats/image_encoders.h"
#include "core/formats/png.h"

#include <gtest/gtest.h>

using namespace tessra;

// Odd sizes, one pixel, and a picture whose lines repeat as a map's tiles do,
// read back by the PNG decoder; an empty picture cannot be a PNG, and a
// streamed one that lacks rows is not passed off as whole.
TEST(ImageEncoders, PngHoldsEveryPixel) {
    for (const auto& [width, height] : {std::pair{1, 1}, {7, 5}, {640, 48}, {0, 0}}) {
        Surface picture(width, height);
        for (int i = 0; i < width * height; ++i) {
            picture.data()[i] = Rgb(i * 7, i % 16 * 16 + i / width % 16, 255 - i / 3);
        }
        const std::vector<std::uint8_t> png = EncodePng(picture);
        if (width == 0) {
            EXPECT_TRUE(png.empty());
            continue;
        }
        const Result<Surface> decoded = DecodePNG(png);
        ASSERT_TRUE(decoded.ok()) << decoded.message();
        EXPECT_EQ(decoded.value(), picture) << width << " x " << height;
    }
    PngEncoder partial(4, 3, [](std::span<const std::uint8_t>) {});
    const Pixel row[4] = {White, Black, White, Black};
    partial.AddRow(row);
    partial.AddRow(row);
    EXPECT_EQ(partial.Finish().message(), "the PNG encoder got 2 of 3 rows");
}
