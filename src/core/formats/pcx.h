#pragma once

#include "core/base/result.h"
#include "core/render/surface.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <utility>

namespace tessra {

// The four kinds of PCX picture the editor draws, chosen by bits per pixel and
// plane count. Any other combination is Unsupported.
enum class PcxKind { Palette256, Monochrome, Colour16, TrueColour, Unsupported };

// The 128-byte file header, little-endian. Only BitsPerPixel, XMax, YMax,
// ColorMap, NPlanes and BytesPerLine take part in decoding.
struct PcxHeader {
    static constexpr std::size_t Size = 128;

    std::uint8_t Manufacturer = 0;
    std::uint8_t Version = 0;
    std::uint8_t Encoding = 0;
    std::uint8_t BitsPerPixel = 0;
    std::int16_t XMin = 0;
    std::int16_t YMin = 0;
    std::int16_t XMax = 0;
    std::int16_t YMax = 0;
    std::int16_t HDpi = 0;
    std::int16_t VDpi = 0;
    std::array<std::uint8_t, 48> ColorMap{}; // 16 x (red, green, blue)
    std::uint8_t Reserved = 0;
    std::uint8_t NPlanes = 0;
    std::int16_t BytesPerLine = 0;
    std::int16_t PaletteInfo = 0;
    std::int16_t HScreenSize = 0;
    std::int16_t VScreenSize = 0;
};

struct PcxImage {
    Surface picture;
    PcxKind kind = PcxKind::Unsupported;
};

// Receives a picture line by line, top to bottom, as it is decoded.
class PcxLineSink {
  public:
    virtual ~PcxLineSink() = default;
    // Once, before any line: the picture's size and kind. A kind that is not
    // drawn gets no lines.
    virtual void Start(int width, int height, PcxKind kind) = 0;
    // Where line y is to be painted: `width` pixels, kept until Painted(y).
    virtual Pixel* Row(int y) = 0;
    // For a sink that keeps no pixels: where line y may be painted instead as
    // red, green, blue bytes (3 x width, then RgbSlack bytes that may be
    // overwritten), or null. The 256-colour and true colour kinds use it.
    virtual std::uint8_t* RgbRow(int) { return nullptr; }
    static constexpr std::size_t RgbSlack = 8;
    virtual void Painted(int y) = 0;
};

// The header of a file, or nothing when the file is shorter than 128 bytes.
std::optional<PcxHeader> ReadPcxHeader(std::span<const std::uint8_t> file);

PcxKind PcxKindOf(const PcxHeader& header);

// The width and height the file's header gives, or nothing when decoding would
// refuse the header.
std::optional<std::pair<int, int>> PcxPictureSize(std::span<const std::uint8_t> file);

// "256-colour", "monochrome", "16-colour", "true colour" or "unsupported".
const char* PcxKindName(PcxKind kind);

// Decodes a whole PCX file. The picture is XMax + 1 by YMax + 1 pixels (XMin and
// YMin are ignored) and starts black; a kind that is not drawn stays black.
// Refused with a message, before anything is allocated: a file shorter than its
// header, a size that overflows or is below 1, an image over 64 megapixels, and
// a BytesPerLine of 0 or less in a kind that is drawn. A file that ends early
// decodes as if the missing bytes were 0.
Result<PcxImage> DecodePCX(std::span<const std::uint8_t> file);

// The same into an existing image, reusing its pixel storage: the way to load
// one tileset after another. On a refusal the image is left as it was.
Status DecodePCX(std::span<const std::uint8_t> file, PcxImage& image);

// The same, handing the lines to `sink` instead of keeping them, so that a
// large picture needs no storage of its size. A refusal comes before Start.
Status DecodePCX(std::span<const std::uint8_t> file, PcxLineSink& sink);

} // namespace tessra
