#include "core/export/gba_compression.h"
#include "support/refusal.h"

#include <gtest/gtest.h>
#include <random>

using namespace tessra;

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Join(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

Bytes Noise(std::size_t count, int alphabet, unsigned seed) {
    std::mt19937 random(seed);
    Bytes bytes(count);
    for (auto& byte : bytes) {
        byte = static_cast<std::uint8_t>(random() % alphabet);
    }
    return bytes;
}

// Rows of a level: sky, a ground line with a pattern, blocks repeated with changes.
Bytes LevelLike() {
    Bytes bytes(65536);
    for (int y = 0; y < 256; ++y) {
        for (int x = 0; x < 256; ++x) {
            bytes[y * 256 + x] = y < 180 ? (x % 37 == 0 && y % 9 == 0 ? 5 : 0)
                                         : static_cast<std::uint8_t>(16 + (x * 3 + y) % 7);
        }
    }
    return bytes;
}

} // namespace

TEST(GbaCompression, GoldenStreams) {
    const std::pair<Bytes, Bytes> rle[] = {
        {{}, {0x30, 0, 0, 0}},
        {{7}, {0x30, 1, 0, 0, 0x00, 7, 0, 0}},
        {{1, 2, 2, 2, 3}, {0x30, 5, 0, 0, 0x00, 1, 0x80, 2, 0x00, 3, 0, 0}},
        {Bytes(131, 9), {0x30, 131, 0, 0, 0xFF, 9, 0x00, 9}},
        {Bytes(128, 0), {0x30, 128, 0, 0, 0xFD, 0, 0, 0}},
    };
    for (const auto& [in, out] : rle) {
        EXPECT_EQ(CompressGbaRle(in), out) << in.size();
    }
    const std::pair<Bytes, Bytes> lz77[] = {
        {{}, {0x10, 0, 0, 0}},
        {{1, 2, 3}, {0x10, 3, 0, 0, 0x00, 1, 2, 3}},
        // A run copies from two back, never one: 0 0, then 6 more from distance 2.
        {Bytes(8, 0), {0x10, 8, 0, 0, 0x20, 0, 0, 0x30, 0x01, 0, 0, 0}},
        {{1, 2, 3, 1, 2, 3, 1, 2, 3}, {0x10, 9, 0, 0, 0x10, 1, 2, 3, 0x30, 0x02, 0, 0}},
    };
    for (const auto& [in, out] : lz77) {
        EXPECT_EQ(CompressGbaLz77(in), out) << in.size();
    }
}

TEST(GbaCompression, RoundTrips) {
    const Bytes inputs[] = {
        {},
        {0},
        Bytes(2, 4),
        Bytes(130, 4),
        Bytes(131, 4),
        Bytes(300, 4),
        Noise(128, 256, 1),
        Noise(129, 256, 2),
        Join({Noise(200, 256, 3), Bytes(3, 1), Noise(5, 2, 4), Bytes(200, 0)}),
        Noise(5000, 4, 5),    // short matches everywhere
        Noise(70000, 256, 6), // past the window and past 16 bits of size
        Join({Noise(4096, 256, 7), Noise(4096, 256, 7)}), // a copy just past the window
        Join({Noise(4095, 256, 8), Noise(300, 256, 8)}),  // a copy at the window's edge
        LevelLike(),
    };
    for (const Bytes& in : inputs) {
        const Bytes rle = CompressGbaRle(in);
        const Bytes lz77 = CompressGbaLz77(in);
        EXPECT_EQ(rle.size() % 4, 0u);
        EXPECT_EQ(lz77.size() % 4, 0u);
        const auto unRle = DecompressGbaRle(rle);
        const auto unLz77 = DecompressGbaLz77(lz77); // refuses a distance of 1
        ASSERT_TRUE(unRle.ok()) << unRle.message();
        ASSERT_TRUE(unLz77.ok()) << unLz77.message();
        EXPECT_EQ(unRle.value(), in) << in.size();
        EXPECT_EQ(unLz77.value(), in) << in.size();
    }
}

// A full-length match (18 bytes in 2, and a flag bit) is the best LZ77 can do;
// on data that repeats, nearly every block should be one.
TEST(GbaCompression, Lz77FindsTheMatches) {
    const auto fullMatches = [](std::size_t size) { return 4 + size / 18 * 2 + size / 18 / 8; };
    EXPECT_LT(CompressGbaLz77(Bytes(65536, 0)).size(), fullMatches(65536) + 8);
    EXPECT_LT(CompressGbaLz77(LevelLike()).size(), fullMatches(65536) + 160);
    const Bytes twice = Join({Noise(4000, 256, 9), Noise(4000, 256, 9)});
    EXPECT_LT(CompressGbaLz77(twice).size(), 4000 + 4000 / 8 + fullMatches(4000) + 8);
}

TEST(GbaCompression, DecodersRefuseBrokenStreams) {
    const std::pair<Bytes, const char*> rle[] = {
        {{0x10, 1, 0, 0, 0, 0}, "the first byte must be 0x30"},
        {{0x30, 1, 0}, "shorter than its 4-byte header"},
        {{0x30, 4, 0, 0}, "the data ends at byte 4"},
        {{0x30, 4, 0, 0, 0x03, 1, 2}, "inside a block"},
        {{0x30, 2, 0, 0, 0x80, 1}, "runs past the unpacked size"},
    };
    for (const auto& [stream, message] : rle) {
        EXPECT_TRUE(Refused(DecompressGbaRle(stream), message));
    }
    const std::pair<Bytes, const char*> lz77[] = {
        {{0x30, 1, 0, 0, 0, 0}, "the first byte must be 0x10"},
        {{0x10, 4, 0, 0, 0x00, 1}, "the data ends"},
        {{0x10, 4, 0, 0, 0x40, 1, 0x00}, "inside a block"},
        {{0x10, 4, 0, 0, 0x40, 1, 0x00, 0x00}, "a distance of 1"},
        {{0x10, 5, 0, 0, 0x40, 1, 0x00, 0x01}, "reaches outside"},    // before the start
        {{0x10, 3, 0, 0, 0x20, 1, 2, 0x00, 0x01}, "reaches outside"}, // past the size
    };
    for (const auto& [stream, message] : lz77) {
        EXPECT_TRUE(Refused(DecompressGbaLz77(stream), message));
    }
}
