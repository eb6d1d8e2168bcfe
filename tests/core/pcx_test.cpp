#include "core/pcx.h"
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

Pixel Grey(int v) {
    return Rgb(v, v, v);
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
            EXPECT_EQ(image.kind, PcxKind::Unsupported);
            EXPECT_EQ(image.picture.Width(), header.XMax + 1);
            EXPECT_EQ(image.picture.Height(), header.YMax + 1);
            EXPECT_TRUE(AllBlack(image.picture));
        }
        ++checked;
    }
    EXPECT_EQ(checked, 33);
}

TEST(Pcx, DecodesCountsLiteralsAndRunsAcrossLines) {
    struct Case {
        const char* name;
        int width, height, bytesPerLine;
        Bytes data;
        std::vector<int> expected; // the pixels' bytes, line after line
    };
    std::vector<int> zeros63(63, 0);
    zeros63.push_back(5);
    const Case cases[] = {
        {"count 3", 4, 1, 4, {0xC3, 0x07, 0x01}, {7, 7, 7, 1}},
        {"count 0 eats its value", 2, 1, 2, {0xC0, 0x55, 0x01, 0x02}, {1, 2}},
        {"0xBF is a literal", 2, 1, 2, {0xBF, 0x02}, {0xBF, 2}},
        {"count 63", 64, 1, 64, {0xFF, 0x00, 0x05}, zeros63},
        {"run across a line", 2, 2, 2, {0xC3, 0x09, 0x04}, {9, 9, 9, 4}},
        {"run across a long pad", 1, 2, 100, {0xC1, 0x05, 0xFF, 0x07, 0xE5, 0x07, 0x09}, {5, 7}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const PcxImage image =
            Decode(MakePcx({.width = c.width, .height = c.height, .bytesPerLine = c.bytesPerLine},
                           c.data, GreyPalette()));
        for (std::size_t i = 0; i < c.expected.size(); ++i) {
            EXPECT_EQ(image.picture.At(int(i) % c.width, int(i) / c.width), Grey(c.expected[i]))
                << "byte " << i;
        }
    }
}

TEST(Pcx, TakesTheLastBytesAsPaletteWhateverTheMarkerAndIgnoresXMin) {
    Bytes tail = GreyPalette();
    tail[0] = 0x00;    // the marker
    tail[1 + 6] = 200; // entry 2's red
    const Bytes data(86, 2);
    const PcxImage image =
        Decode(MakePcx({.width = 42, .height = 2, .bytesPerLine = 43, .xMin = 10}, data, tail));
    EXPECT_EQ(image.picture.Width(), 42);
    EXPECT_EQ(image.picture.At(41, 1), Rgb(200, 2, 2));
}

// Lines of ceil(width / 8) bytes, then a pad byte (0xBF here) when that is odd.
TEST(Pcx, SkipsAMonochromePadByteAfterLinesOfAnOddByteCount) {
    for (const int width : {20, 24, 16, 25, 7, 12}) {
        SCOPED_TRACE(width);
        const int bytes = (width + 7) / 8;
        Bytes data{0x80};
        data.resize(bytes, 0);
        if (bytes % 2) {
            data.push_back(0xBF);
        }
        data.push_back(0x40);
        data.resize(data.size() + bytes - 1, 0);
        const PcxImage image = Decode(MakePcx({.bits = 1, .width = width, .height = 2}, data));
        EXPECT_EQ(image.kind, PcxKind::Monochrome);
        const std::tuple<int, int, Pixel> expected[] = {{0, 0, White},
                                                        {width - 1, 0, Black},
                                                        {0, 1, Black},
                                                        {1, 1, White},
                                                        {width - 1, 1, Black}};
        for (const auto& [x, y, colour] : expected) {
            EXPECT_EQ(image.picture.At(x, y), colour) << x << ", " << y;
        }
    }
}

TEST(Pcx, Builds16ColourIndexesFromFourPlanesWithTheHeaderPalette) {
    // Pixel 0 has bits 1, 0, 1, 1 in planes 0..3; pixel 8 has 0, 0, 1, 1.
    Bytes file = MakePcx({.bits = 1, .planes = 4, .width = 9, .height = 1, .bytesPerLine = 2},
                         {0x80, 0x00, 0x00, 0x00, 0x80, 0x80, 0x80, 0x80});
    file[55] = 10; // Colors16[13]
    file[56] = 20;
    file[57] = 30;
    file[16 + 3 * 12] = 99; // Colors16[12]
    const PcxImage image = Decode(file);
    EXPECT_EQ(image.kind, PcxKind::Colour16);
    EXPECT_EQ(image.picture.At(0, 0), Rgb(10, 20, 30));
    EXPECT_EQ(image.picture.At(1, 0), Black);
    EXPECT_EQ(image.picture.At(8, 0), Rgb(99, 0, 0));
}

// Width 3: red, green and blue planes, each padded to BytesPerLine (4, or 40
// so that the pad dwarfs the pixels).
TEST(Pcx, ReadsTrueColourPlanesOfAnOddWidth) {
    for (const int bytesPerLine : {4, 40}) {
        Bytes data;
        for (int y = 0; y < 2; ++y) {
            for (int plane = 0; plane < 3; ++plane) {
                for (int x = 0; x < bytesPerLine; ++x) {
                    data.push_back(std::uint8_t(x < 3 ? 16 * y + 4 * plane + x : 0x77));
                }
            }
        }
        const PcxImage image = Decode(
            MakePcx({.planes = 3, .width = 3, .height = 2, .bytesPerLine = bytesPerLine}, data));
        for (int i = 0; i < 6; ++i) {
            const int x = i % 3, y = i / 3;
            EXPECT_EQ(image.picture.At(x, y), Rgb(16 * y + x, 16 * y + 4 + x, 16 * y + 8 + x))
                << bytesPerLine;
        }
    }
}

TEST(Pcx, LeavesOtherKindsBlackAtTheHeaderSize) {
    for (const auto& [bits, planes] : {std::pair{4, 1}, std::pair{8, 4}, std::pair{2, 1}}) {
        Bytes file =
            MakePcx({.bits = bits, .planes = planes, .width = 5, .height = 3}, Bytes(40, 0x3C));
        SetInt16(file, 66, 0);
        const PcxImage image = Decode(file);
        EXPECT_EQ(image.kind, PcxKind::Unsupported);
        EXPECT_EQ(image.picture.Width(), 5);
        EXPECT_EQ(image.picture.Height(), 3);
        EXPECT_TRUE(AllBlack(image.picture));
    }
}

TEST(Pcx, DecodesWhatAShortFileHoldsAndReadsTheRestAsZero) {
    // True colour cut after the first line, inside a run.
    const PcxImage cut =
        Decode(MakePcx({.planes = 3, .width = 2, .height = 3}, {1, 2, 3, 4, 5, 6, 0xC5}));
    EXPECT_EQ(cut.picture.At(1, 0), Rgb(2, 4, 6));
    EXPECT_EQ(cut.picture.At(0, 1), Black);
    EXPECT_EQ(cut.picture.At(1, 2), Black);

    // 256-colour with one line of data: the end palette is decoded into the next
    // lines, and below them the picture shows entry 0.
    Bytes tail(769, 0x11);
    std::fill_n(tail.begin() + 1, 3, 0x33);
    std::fill_n(tail.begin() + 4, 3, 0x44);
    const PcxImage half = Decode(MakePcx({.width = 64, .height = 32}, Bytes(64, 1), tail));
    EXPECT_EQ(half.picture.At(0, 0), Grey(0x44));
    EXPECT_EQ(half.picture.At(63, 31), Grey(0x33));
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
// length, against the plain decoding, as pixels and as bytes; a reused picture
// must not matter.
TEST(Pcx, MatchesThePlainDecodingOnRandomFiles) {
    std::mt19937 random(12345);
    const auto below = [&](int n) { return static_cast<int>(random() % n); };
    const std::pair<int, int> kinds[] = {{8, 1}, {1, 1}, {1, 4}, {8, 3}};
    PcxImage reused;
    for (int round = 0; round < 3000; ++round) {
        const auto [bits, planes] = kinds[below(4)];
        PcxFields fields{
            .bits = bits, .planes = planes, .width = 1 + below(40), .height = 1 + below(6)};
        const int fewest = (fields.width * bits + 7) / 8;
        const int layouts[] = {fewest, fewest + 1, 1 + below(fewest), fewest + below(90)};
        fields.bytesPerLine = layouts[below(4)];
        Bytes data(below(planes * fields.bytesPerLine * fields.height * 5 / 4 + 40));
        for (std::uint8_t& byte : data) {
            byte = static_cast<std::uint8_t>(below(3) ? below(0xC0) : 0xC0 + below(64));
        }
        const Bytes file = MakePcx(fields, data, below(2) ? GreyPalette() : Bytes{});
        SCOPED_TRACE(round);
        ASSERT_TRUE(DecodePCX(file, reused).ok());
        const Surface expected = PlainDecodePCX(file);
        ASSERT_EQ(Difference(reused.picture, expected), "");
        ASSERT_EQ(Difference(DecodeRgb(file), expected), "") << "as bytes";
    }
}
