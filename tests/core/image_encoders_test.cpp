#include "core/image_encoders.h"

#include <gtest/gtest.h>
#include <spng.h>

using namespace tessra;

namespace {

// The picture a PNG file holds, read back through libspng's decoder as 8-bit
// RGB; empty if it cannot be read.
Surface ReadPng(const std::vector<std::uint8_t>& file) {
    spng_ctx* png = spng_ctx_new(0);
    spng_set_png_buffer(png, file.data(), file.size());
    spng_ihdr header{};
    std::size_t size = 0;
    Surface picture;
    if (spng_get_ihdr(png, &header) == 0 &&
        spng_decoded_image_size(png, SPNG_FMT_RGB8, &size) == 0) {
        std::vector<std::uint8_t> rgb(size);
        if (spng_decode_image(png, rgb.data(), size, SPNG_FMT_RGB8, 0) == 0) {
            picture.Resize(int(header.width), int(header.height));
            for (std::size_t i = 0; i < size / 3; ++i) {
                picture.data()[i] = Rgb(rgb[3 * i], rgb[3 * i + 1], rgb[3 * i + 2]);
            }
        }
    }
    spng_ctx_free(png);
    return picture;
}

} // namespace

// Odd sizes, one pixel, and a picture whose lines repeat as a map's tiles do;
// an empty picture cannot be a PNG.
TEST(ImageEncoders, PngHoldsEveryPixel) {
    for (const auto& [width, height] : {std::pair{1, 1}, {7, 5}, {640, 48}, {0, 0}}) {
        Surface picture(width, height);
        for (int i = 0; i < width * height; ++i) {
            picture.data()[i] = Rgb(i * 7, i % 16 * 16 + i / width % 16, 255 - i / 3);
        }
        const Result<std::vector<std::uint8_t>> png = EncodePng(picture);
        if (width == 0) {
            ASSERT_FALSE(png.ok());
            EXPECT_NE(png.message().find("width"), std::string::npos) << png.message();
        } else {
            ASSERT_TRUE(png.ok()) << png.message();
            EXPECT_EQ(ReadPng(png.value()), picture) << width << " x " << height;
        }
    }
}
