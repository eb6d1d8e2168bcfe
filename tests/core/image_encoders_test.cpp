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

// Odd sizes, one pixel, and a picture whose lines repeat as a map's tiles do.
TEST(ImageEncoders, PngHoldsEveryPixel) {
    for (const auto& [width, height] : {std::pair{1, 1}, {7, 5}, {33, 2}, {640, 48}}) {
        Surface picture(width, height);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                picture.Set(x, y, Rgb(x * 7 + y, x % 16 * 16 + y % 16, 255 - x));
            }
        }
        const Result<std::vector<std::uint8_t>> png = EncodePng(picture);
        ASSERT_TRUE(png.ok()) << png.message();
        EXPECT_EQ(ReadPng(png.value()), picture) << width << " x " << height;
    }
}

// A PNG cannot be empty; rows left out are not passed off as a whole file.
TEST(ImageEncoders, PngRefusesAnEmptyPictureAndMissingRows) {
    const Result<std::vector<std::uint8_t>> empty = EncodePng(Surface{});
    ASSERT_FALSE(empty.ok());
    EXPECT_NE(empty.message().find("width"), std::string::npos) << empty.message();

    std::vector<std::uint8_t> bytes;
    PngEncoder encoder(4, 3, [&](std::span<const std::uint8_t> piece) {
        bytes.insert(bytes.end(), piece.begin(), piece.end());
    });
    const Pixel row[4] = {White, Black, White, Black};
    encoder.AddRow(row);
    encoder.AddRow(row);
    const Status finished = encoder.Finish();
    ASSERT_FALSE(finished.ok());
    EXPECT_NE(finished.message().find("got 2 of 3 rows"), std::string::npos) << finished.message();
}
