#include "core/formats/pcx.h"
#include "support/pcx_reference.h"
#include "support/picture_files.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <random>
#include <string>
#include <tuple>
#include <vector>

using namespace tessra;

namespace {

using Bytes = std::vector<std::uint8_t>;

bool AllBlack(const Surface& picture) {
    return std::all_of(picture.data(), picture.data() + picture.Width() * picture.Height(),
                       [](Pixel p) { return p == Black; });
}

// A kind that is not drawn: black at the header's size.
void ExpectNotDrawn(const PcxImage& image, int width, int height) {
    EXPECT_EQ(image.kind, PcxKind::Unsupported);
    EXPECT_EQ(std::pair(image.picture.Width(), image.picture.Height()), std::pair(width, height));
    EXPECT_TRUE(AllBlack(image.picture));
}

void SetInt16(Bytes& file, std::size_t offset, int value) {
    file[offset] = static_cast<std::uint8_t>(value);
    file[offset + 1] = static_cast<std::uint8_t>(value >> 8);
}

struct PcxFields {
    int bits = 8;
    int planes = 1;
    int width = 1;
    int height = 1;
    int bytesPerLine = 0; // 0: the fewest bytes that hold a line
    int xMin = 0;
};

// A header, the packed data as given, then `tail` (an end palette, say).
Bytes MakePcx(const PcxFields& fields, const Bytes& data, const Bytes& tail = {}) {
    Bytes file(128, 0);
    file[0] = 10;
    file[1] = 5;
    file[2] = 1;
    file[3] = static_cast<std::uint8_t>(fields.bits);
    SetInt16(file, 4, fields.xMin);
    SetInt16(file, 8, fields.width - 1);
    SetInt16(file, 10, fields.height - 1);
    file[65] = static_cast<std::uint8_t>(fields.planes);
    const int fewest = (fields.width * fields.bits + 7) / 8;
    SetInt16(file, 66, fields.bytesPerLine ? fields.bytesPerLine : fewest);
    file.insert(file.end(), data.begin(), data.end());
    file.insert(file.end(), tail.begin(), tail.end());
    return file;
}

// Marker and 768 bytes: entry i is grey i, so a pixel shows its decoded byte.
Bytes GreyPalette() {
    Bytes tail{0x0C};
    for (int i = 0; i < 256; ++i) {
        tail.insert(tail.end(), 3, static_cast<std::uint8_t>(i));
    }
    return tail;
}

// A sink that takes lines as red, green, blue bytes where the kind paints
// them so, and as pixels otherwise, gathering both into one picture.
class RgbLines final : public PcxLineSink {
  public:
    void Start(int width, int height, PcxKind) override {
        picture.Resize(width, height);
        line_.assign(3 * std::size_t(width) + RgbSlack, 0);
    }
    Pixel* Row(int y) override { return picture.Row(y); }
    std::uint8_t* RgbRow(int) override {
        inLine_ = true;
        return line_.data();
    }
    void Painted(int y) override {
        for (int x = 0; inLine_ && x < picture.Width(); ++x) {
            picture.Set(x, y, Rgb(line_[3 * x], line_[3 * x + 1], line_[3 * x + 2]));
        }
        inLine_ = false;
    }

    Surface picture;

  private:
    Bytes line_;
    bool inLine_ = false;
};

Surface DecodeRgb(const Bytes& file) {
    RgbLines lines;
    EXPECT_TRUE(DecodePCX(file, lines).ok());
    return lines.picture;
}

PcxImage Decode(const Bytes& file) {
    Result<PcxImage> result = DecodePCX(file);
    EXPECT_TRUE(result.ok()) << result.message();
    return result ? std::move(result).value() : PcxImage{};
}

} // namespace

// Files from other encoders and hostile ones, against their reference pictures.
// A file without one is of a kind that is not drawn: black at the header's size.
TEST(Pcx, DecodesTheFixturesLikeTheirReferences) {
    int checked = 0;
    for (const auto& entry : std::filesystem::directory_iterator(TESSRA_TEST_DATA "/pcx")) {
        const std::filesystem::path path = entry.path();
        if (path.extension() == ".ppm") {
            continue;
        }
        SCOPED_TRACE(path.filename().string());
        const Bytes file = ReadBytes(path);
        const PcxImage image = Decode(file);
        const std::filesystem::path reference =
            std::filesystem::path(path).replace_extension(".ppm");
        if (std::filesystem::exists(reference)) {
            EXPECT_NE(image.kind, PcxKind::Unsupported);
            const Surface expected = ReadPpm(reference);
            EXPECT_EQ(Difference(image.picture, expected), "");
            EXPECT_EQ(Difference(DecodeRgb(file), expected), "") << "as bytes";
        } else {
            const PcxHeader header = ReadPcxHeader(file).value();
            ExpectNotDrawn(image, header.XMax + 1, header.YMax + 1);
        }
        ++checked;
    }
    EXPECT_EQ(checked, 33);
}

TEST(Pcx, LeavesOtherKindsBlackAtTheHeaderSize) {
    for (const auto& [bits, planes] : {std::pair{4, 1}, std::pair{8, 4}, std::pair{2, 1}}) {
        Bytes file =
            MakePcx({.bits = bits, .planes = planes, .width = 5, .height = 3}, Bytes(40, 0x3C));
        SetInt16(file, 66, 0);
        ExpectNotDrawn(Decode(file), 5, 3);
    }
}

TEST(Pcx, RefusesHeadersItCannotSizeOrRead) {
    struct Case {
        int xMax, yMax, bytesPerLine;
        const char* message;
    };
    const Case cases[] = {
        {32767, 3, 4, "XMax of 32767 is too large"},
        {3, 32767, 4, "YMax of 32767 is too large"},
        {-1, 3, 4, "an image of 0 x 4 pixels is empty"},
        {3, -32768, 4, "an image of 4 x -32767 pixels is empty"},
        {3, 3, 0, "BytesPerLine is 0"},
        {3, 3, -2, "BytesPerLine is -2"},
        {32766, 2048, 4, "an image of 32767 x 2049 pixels is over 64 megapixels"},
    };
    for (const Case& c : cases) {
        Bytes file = MakePcx({}, {});
        SetInt16(file, 8, c.xMax);
        SetInt16(file, 10, c.yMax);
        SetInt16(file, 66, c.bytesPerLine);
        PcxImage kept{Surface(2, 1), PcxKind::Monochrome};
        const Status refused = DecodePCX(file, kept);
        EXPECT_EQ(refused.message(), c.message);
        EXPECT_EQ(kept.picture.Width(), 2);
    }
    EXPECT_EQ(DecodePCX(Bytes(127, 10)).message(),
              "the file is shorter than a PCX header (127 of 128 bytes)");
}

// A tiny file whose header asks for huge strides must end quickly and cleanly.
TEST(Pcx, WalksHostileStridesWithoutReadingOutside) {
    Bytes file = MakePcx({.bits = 1, .planes = 4, .width = 1, .height = 30000}, {0xFF, 0xC1});
    SetInt16(file, 66, 32767);
    const PcxImage image = Decode(file);
    EXPECT_EQ(image.picture.Height(), 30000);
    EXPECT_TRUE(AllBlack(image.picture));
}

// Random small files of every drawn kind, with every sort of line layout and
// length (short files, runs across lines and pads, counts of 0), a random
// header palette, XMin and end-palette marker, against the plain decoding, as
// pixels and as bytes; a reused picture must not matter.
TEST(Pcx, MatchesThePlainDecodingOnRandomFiles) {
    std::mt19937 random(12345);
    const auto below = [&](int n) { return static_cast<int>(random() % n); };
    const std::pair<int, int> kinds[] = {{8, 1}, {1, 1}, {1, 4}, {8, 3}};
    PcxImage reused;
    for (int round = 0; round < 3000; ++round) {
        const auto [bits, planes] = kinds[below(4)];
        PcxFields fields{.bits = bits,
                         .planes = planes,
                         .width = 1 + below(40),
                         .height = 1 + below(6),
                         .xMin = below(3) * 7};
        const int fewest = (fields.width * bits + 7) / 8;
        const int layouts[] = {fewest, fewest + 1, 1 + below(fewest), fewest + below(90)};
        fields.bytesPerLine = layouts[below(4)];
        Bytes data(below(planes * fields.bytesPerLine * fields.height * 5 / 4 + 40));
        for (std::uint8_t& byte : data) {
            byte = static_cast<std::uint8_t>(below(3) ? below(0xC0) : 0xC0 + below(64));
        }
        Bytes tail = below(2) ? GreyPalette() : Bytes{};
        if (!tail.empty() && below(2)) {
            tail[0] = static_cast<std::uint8_t>(below(256)); // the marker is not checked
        }
        Bytes file = MakePcx(fields, data, tail);
        std::generate(file.begin() + 16, file.begin() + 64, [&] { return below(256); });
        SCOPED_TRACE(round);
        ASSERT_TRUE(DecodePCX(file, reused).ok());
        const Surface expected = PlainDecodePCX(file);
        ASSERT_EQ(Difference(reused.picture, expected), "");
        ASSERT_EQ(Difference(DecodeRgb(file), expected), "") << "as bytes";
    }
}
