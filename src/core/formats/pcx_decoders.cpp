#include "core/formats/pcx_decoders.h"

#include "core/render/pack_rgb.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace tessra {

namespace {

// Where a line's bytes lie in the decoded stream: `planes` pieces, each read for
// `bytes` bytes, starting `planeStride` apart; the next line starts after the
// last piece's stride.
struct LineLayout {
    std::size_t planes;
    std::size_t bytes;
    std::size_t planeStride;
};

// How many bytes of whole lines to decode in one piece.
constexpr std::size_t BatchBytes = 16384;

// Hands `paint` each line in turn, with its pieces `pitch` bytes apart, and
// its number, to paint into the sink's row.
template <class PaintLine>
void ForEachLine(PcxRunReader& reader, const LineLayout& layout, int height, PcxLineSink& sink,
                 PaintLine&& paint) {
    const auto paintLine = [&](const std::uint8_t* line, std::size_t pitch, int y) {
        paint(line, pitch, y);
        sink.Painted(y);
    };
    const std::size_t planes = layout.planes;
    const std::size_t bytes = layout.bytes;
    const std::size_t stride = layout.planeStride;
    const std::size_t lineStride = planes * stride;
    if (stride < bytes) {
        // A BytesPerLine below the width: lines overlap, so a window slides
        // over the stream.
        const std::size_t span = (planes - 1) * stride + bytes;
        std::vector<std::uint8_t> window = PcxRunReader::Buffer(span);
        std::uint8_t* line = window.data();
        reader.Fill(line, span);
        for (int y = 0; y < height; ++y) {
            if (y > 0) {
                std::memmove(line, line + lineStride, span - lineStride);
                reader.Fill(line + span - lineStride, lineStride);
            }
            paintLine(line, stride, y);
        }
        return;
    }
    if (lineStride <= 2 * planes * bytes + 64) {
        // Whole lines, pad bytes and all, several at a time.
        const std::size_t batch = std::clamp<std::size_t>(BatchBytes / lineStride, 1, height);
        std::vector<std::uint8_t> lines = PcxRunReader::Buffer(batch * lineStride);
        for (int y = 0; y < height; y += static_cast<int>(batch)) {
            const int count = std::min(static_cast<int>(batch), height - y);
            reader.Fill(lines.data(), count * lineStride);
            for (int i = 0; i < count; ++i) {
                paintLine(lines.data() + i * lineStride, stride, y + i);
            }
        }
        return;
    }
    // A BytesPerLine far beyond the width: keep only the bytes the planes read.
    std::vector<std::uint8_t> pieces = PcxRunReader::Buffer(planes * bytes);
    for (int y = 0; y < height; ++y) {
        for (std::size_t p = 0; p < planes; ++p) {
            reader.Fill(pieces.data() + p * bytes, bytes);
            reader.Skip(stride - bytes);
        }
        paintLine(pieces.data(), bytes, y);
    }
}

// Byte j of BitSpread[b] is bit 7 - j of b: the eight pixels of a 1-bit byte,
// leftmost first, one byte each.
constexpr std::array<std::uint64_t, 256> MakeBitSpread() {
    std::array<std::uint64_t, 256> table{};
    for (unsigned b = 0; b < 256; ++b) {
        for (unsigned j = 0; j < 8; ++j) {
            table[b] |= static_cast<std::uint64_t>((b >> (7 - j)) & 1) << (8 * j);
        }
    }
    return table;
}
constexpr std::array<std::uint64_t, 256> BitSpread = MakeBitSpread();

using Octet = std::array<Pixel, 8>;

// The eight black and white pixels of each monochrome byte.
constexpr std::array<Octet, 256> MakeMonoOctets() {
    std::array<Octet, 256> table{};
    for (unsigned b = 0; b < 256; ++b) {
        for (unsigned j = 0; j < 8; ++j) {
            table[b][j] = (b >> (7 - j)) & 1 ? White : Black;
        }
    }
    return table;
}
constexpr std::array<Octet, 256> MonoOctets = MakeMonoOctets();

void CopyPixels(const Pixel* from, int count, Pixel* to) {
    std::memcpy(to, from, sizeof(Pixel) * count);
}

void PaintMonoLine(const std::uint8_t* line, int width, Pixel* row) {
    const int whole = width / 8;
    for (int column = 0; column < whole; ++column) {
        CopyPixels(MonoOctets[line[column]].data(), 8, row + 8 * column);
    }
    if (const int rest = width % 8) {
        CopyPixels(MonoOctets[line[whole]].data(), rest, row + 8 * whole);
    }
}

// Two pixels per table entry: entry i is colour i & 15, then colour i >> 4.
using PixelPairs = std::array<std::array<Pixel, 2>, 256>;

// The colour index of a pixel takes bit p from plane p, whose bytes start
// p * pitch into the line.
void PaintColour16Line(const std::uint8_t* line, std::size_t pitch, int width,
                       const PixelPairs& pairs, Pixel* row) {
    const auto octet = [&](int column, Pixel* out) {
        const std::uint64_t index = BitSpread[line[column]] | BitSpread[line[column + pitch]] << 1 |
                                    BitSpread[line[column + 2 * pitch]] << 2 |
                                    BitSpread[line[column + 3 * pitch]] << 3;
        const std::uint64_t packed = index | index >> 4; // byte 2j: pixels 2j and 2j + 1
        for (int j = 0; j < 4; ++j) {
            std::memcpy(out + 2 * j, pairs[(packed >> (16 * j)) & 0xFF].data(), 2 * sizeof(Pixel));
        }
    };
    const int whole = width / 8;
    for (int column = 0; column < whole; ++column) {
        octet(column, row + 8 * column);
    }
    if (const int rest = width % 8) {
        Pixel last[8];
        octet(whole, last);
        CopyPixels(last, rest, row + 8 * whole);
    }
}

// Sixteen pixels at a time through local copies, so the compiler can use
// vector registers without fearing the byte planes alias the row.
void PaintRgbLine(const std::uint8_t* red, const std::uint8_t* green, const std::uint8_t* blue,
                  int width, Pixel* row) {
    constexpr int Block = 16;
    int x = 0;
    for (; x + Block <= width; x += Block) {
        std::uint8_t r[Block], g[Block], b[Block];
        std::memcpy(r, red + x, Block);
        std::memcpy(g, green + x, Block);
        std::memcpy(b, blue + x, Block);
        Pixel out[Block];
        for (int i = 0; i < Block; ++i) {
            out[i] = Pixel{r[i]} | Pixel{g[i]} << 8 | Pixel{b[i]} << 16 | 0xFF000000u;
        }
        std::memcpy(row + x, out, sizeof out);
    }
    for (; x < width; ++x) {
        row[x] = Pixel{red[x]} | Pixel{green[x]} << 8 | Pixel{blue[x]} << 16 | 0xFF000000u;
    }
}

std::size_t BitLineBytes(int width) {
    return (static_cast<std::size_t>(width) + 7) / 8;
}

} // namespace

std::array<Pixel, 256> EndPalette(std::span<const std::uint8_t> file) {
    std::array<std::uint8_t, 768> bytes{};
    const std::size_t have = std::min<std::size_t>(file.size(), bytes.size());
    std::copy(file.end() - have, file.end(), bytes.end() - have);
    std::array<Pixel, 256> colours{};
    for (std::size_t i = 0; i < colours.size(); ++i) {
        colours[i] = Rgb(bytes[3 * i], bytes[3 * i + 1], bytes[3 * i + 2]);
    }
    return colours;
}

void PaintPalette256(PcxRunReader& reader, const PcxGeometry& geometry,
                     const std::array<Pixel, 256>& colours, PcxLineSink& lines) {
    // Red, green, blue and a spare byte, so each pixel is one 4-byte store
    // that the next one overwrites in part.
    std::array<std::array<std::uint8_t, 4>, 256> triples;
    for (std::size_t i = 0; i < triples.size(); ++i) {
        const Pixel c = colours[i];
        triples[i] = {static_cast<std::uint8_t>(c), static_cast<std::uint8_t>(c >> 8),
                      static_cast<std::uint8_t>(c >> 16), 0};
    }
    const int width = geometry.width;
    const LineLayout layout{1, static_cast<std::size_t>(width), geometry.bytesPerLine};
    ForEachLine(reader, layout, geometry.height, lines,
                [&](const std::uint8_t* line, std::size_t, int y) {
                    if (std::uint8_t* out = lines.RgbRow(y)) {
                        for (int x = 0; x < width; ++x) {
                            std::memcpy(out + 3 * x, triples[line[x]].data(), 4);
                        }
                        return;
                    }
                    Pixel* row = lines.Row(y);
                    for (int x = 0; x < width; ++x) {
                        row[x] = colours[line[x]];
                    }
                });
}

// Monochrome lines ignore BytesPerLine: ceil(width / 8) bytes each, then one pad
// byte when that count is odd, since 1-bit lines are stored in even byte counts.
void PaintMonochrome(PcxRunReader& reader, const PcxGeometry& geometry, PcxLineSink& lines) {
    const int width = geometry.width;
    const std::size_t bytes = BitLineBytes(width);
    const LineLayout layout{1, bytes, bytes + bytes % 2};
    ForEachLine(reader, layout, geometry.height, lines,
                [&](const std::uint8_t* line, std::size_t, int y) {
                    PaintMonoLine(line, width, lines.Row(y));
                });
}

void PaintColour16(PcxRunReader& reader, const PcxGeometry& geometry,
                   const std::array<std::uint8_t, 48>& colorMap, PcxLineSink& lines) {
    Pixel colours[16];
    for (int i = 0; i < 16; ++i) {
        colours[i] = Rgb(colorMap[3 * i], colorMap[3 * i + 1], colorMap[3 * i + 2]);
    }
    PixelPairs pairs;
    for (int i = 0; i < 256; ++i) {
        pairs[i] = {colours[i & 15], colours[i >> 4]};
    }
    const int width = geometry.width;
    const LineLayout layout{4, BitLineBytes(width), geometry.bytesPerLine};
    ForEachLine(reader, layout, geometry.height, lines,
                [&](const std::uint8_t* line, std::size_t pitch, int y) {
                    PaintColour16Line(line, pitch, width, pairs, lines.Row(y));
                });
}

// Each line holds a red, a green and a blue plane of BytesPerLine bytes.
void PaintTrueColour(PcxRunReader& reader, const PcxGeometry& geometry, PcxLineSink& lines) {
    const int width = geometry.width;
    const LineLayout layout{3, static_cast<std::size_t>(width), geometry.bytesPerLine};
    ForEachLine(reader, layout, geometry.height, lines,
                [&](const std::uint8_t* line, std::size_t pitch, int y) {
                    if (std::uint8_t* out = lines.RgbRow(y)) {
                        InterleaveRgb(line, line + pitch, line + 2 * pitch, width, out);
                    } else {
                        PaintRgbLine(line, line + pitch, line + 2 * pitch, width, lines.Row(y));
                    }
                });
}

} // namespace tessra
