#include "core/formats/image_encoders.h"
#include "core/formats/png.h"
#include "core/formats/tileset_picture.h"
#include "core/render/palette_build.h"
#include "support/picture_files.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <span>

using namespace tessra;

namespace {

using Bytes = std::vector<std::uint8_t>;

const std::filesystem::path PngData = TESSRA_TEST_DATA "/png";

std::string MessageOf(const Result<Surface>& result) {
    return result ? "decoded " + std::to_string(result.value().Width()) + " x " +
                        std::to_string(result.value().Height())
                  : result.message();
}

} // namespace

// Each NAME.ppm holds what NAME.png and NAME-interlaced.png must show; the
// script beside them made all three.
TEST(DecodePNG, EveryColourTypeDepthAndInterlaceGivesTheExpectedPixels) {
    int kinds = 0;
    for (const auto& entry : std::filesystem::directory_iterator(PngData)) {
        if (entry.path().extension() != ".ppm") {
            continue;
        }
        ++kinds;
        const Surface expected = ReadPpm(entry.path());
        const std::string name = entry.path().stem().string();
        for (const std::string& file : {name + ".png", name + "-interlaced.png"}) {
            SCOPED_TRACE(file);
            const Result<Surface> picture = DecodePNG(ReadBytes(PngData / file));
            ASSERT_TRUE(picture.ok()) << picture.message();
            EXPECT_EQ(Difference(picture.value(), expected), "");
        }
    }
    EXPECT_EQ(kinds, 18);
}

TEST(DecodePNG, RefusesWhatIsDamagedSayingWhat) {
    const Bytes good = ReadBytes(PngData / "rgb8.png");
    const struct {
        const char* name;
        Bytes file;
        std::string message;
    } cases[] = {
        {"cut short", ReadBytes(PngData / "damaged-truncated.png"),
         "the file ends before its picture does (it is cut short)"},
        {"bad checksum", ReadBytes(PngData / "damaged-crc.png"),
         "a checksum does not match its data (the file is damaged)"},
        {"huge", ReadBytes(PngData / "damaged-huge.png"),
         "an image of 100000 x 100000 pixels is over 64 megapixels"},
        {"one pixel too many", WithPngSize(good, 8193, 8192),
         "an image of 8193 x 8192 pixels is over 64 megapixels"},
        {"one line too many", WithPngSize(good, 1, (64 << 20) + 1),
         "an image of 1 x 67108865 pixels is over 64 megapixels"},
        {"no width", WithPngSize(good, 0, 5), "the PNG data is damaged (invalid image width)"},
        {"signature only", Bytes(good.begin(), good.begin() + 8),
         "the file ends before its picture does (it is cut short)"},
        {"no signature", Bytes(good.begin() + 1, good.end()),
         "it is not a PNG file (it does not start with the PNG signature)"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MessageOf(DecodePNG(c.file)), c.message) << c.name;
    }
}

// However the picture data is cut short, the decoder says so and reads no
// further than the file.
TEST(DecodePNG, EveryCutInsideThePictureIsRefused) {
    for (const char* name : {"indexed2-interlaced.png", "rgba16.png"}) {
        const Bytes file = ReadBytes(PngData / name);
        const std::size_t end = file.size() - 12; // the IEND chunk
        for (std::size_t size = 33; size < end; ++size) {
            const Bytes cut(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(size));
            ASSERT_FALSE(DecodePNG(cut).ok()) << name << " cut to " << size;
        }
    }
}

TEST(DecodeTilesetPicture, ChoosesTheDecoderByContentAndNamesTheFile) {
    const Bytes png = ReadBytes(PngData / "grey8.png");
    const Bytes pcx = ReadBytes(TESSRA_TEST_DATA "/pcx/pil-p8-7x5.pcx");
    const Bytes text = {'h', 'e', 'l', 'l', 'o'};
    const struct {
        Bytes file;
        const char* name;
        std::string outcome;
    } cases[] = {
        {png, "tiles.png", "decoded 33 x 19"},
        {png, "tiles.pcx", "decoded 33 x 19"},
        {pcx, "tiles.PNG", "decoded 7 x 5"},
        {pcx, "tiles", "decoded 7 x 5"},
        {text, "dir/tiles.Png",
         "dir/tiles.Png: it is not a PNG file (it does not start with the PNG signature)"},
        {Bytes(200, 'x'), "notes.pcx", "notes.pcx: it is not a PCX or PNG picture"},
        {Bytes(5, 10), "dir/tiles.pcx",
         "dir/tiles.pcx: the file is shorter than a PCX header (5 of 128 bytes)"},
        {WithPngSize(png, 9000, 9000), "big.png",
         "big.png: an image of 9000 x 9000 pixels is over 64 megapixels"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MessageOf(DecodeTilesetPicture(c.file, c.name)).substr(0, c.outcome.size()),
                  c.outcome)
            << c.name;
    }
}

// The palette counts the tiles of files it no longer has room for from their
// first bytes: that count must be the decoded picture's, for every picture at
// hand, and there must be none where the header alone is refused.
TEST(DecodeTilesetPicture, TheHeaderAloneCountsTheTilesOfTheDecodedPicture) {
    const auto countOfHead = [](const Bytes& file) {
        return TilesetTileCountOfHead(
            std::span(file).first(std::min(file.size(), TilesetHeadSize)));
    };
    for (const char* folder : {"/png", "/pcx"}) {
        for (const auto& entry :
             std::filesystem::directory_iterator(TESSRA_TEST_DATA + std::string(folder))) {
            const Bytes file = ReadBytes(entry.path());
            const Result<Surface> picture = DecodeTilesetPicture(file, "");
            if (picture) {
                EXPECT_EQ(countOfHead(file),
                          TilesetTileCount(picture.value().Width(), picture.value().Height()))
                    << entry.path();
            }
        }
    }
    const Bytes png = ReadBytes(PngData / "grey8.png");
    for (const Bytes& refused :
         {WithPngSize(png, 9000, 9000), WithPngSize(png, 0, 5), Bytes(5, 10), Bytes(200, 'x')}) {
        EXPECT_EQ(countOfHead(refused), std::nullopt);
    }
}

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
