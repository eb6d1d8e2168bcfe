#include "core/formats/pcx.h"

#include "core/formats/pcx_decoders.h"

#include <algorithm>
#include <string>

namespace tessra {

namespace {

constexpr std::int64_t MaxPixels = std::int64_t{64} << 20;

std::int16_t Int16At(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return static_cast<std::int16_t>(bytes[offset] | bytes[offset + 1] << 8);
}

int PlaneCount(PcxKind kind) {
    switch (kind) {
    case PcxKind::TrueColour:
        return 3;
    case PcxKind::Colour16:
        return 4;
    default:
        return 1;
    }
}

// How many bytes of decoded data the format lets a kind hold; whatever the
// stream would put beyond this is dropped. Never less than every line reads.
std::uint64_t DecodedSize(PcxKind kind, const PcxGeometry& geometry) {
    const auto area = static_cast<std::uint64_t>(geometry.width) * geometry.height;
    std::uint64_t size = area + 1;
    if (kind == PcxKind::Palette256) {
        size = area + 4097;
    } else if (kind == PcxKind::TrueColour) {
        size = 3 * area + 1;
    } else if (kind == PcxKind::Colour16) {
        size = 4 * area + 1;
    }
    const std::uint64_t everyLine = PlaneCount(kind) * geometry.bytesPerLine * geometry.height + 1;
    return std::max(size, everyLine);
}

// The picture size, in the header's signed 16-bit arithmetic.
Result<PcxGeometry> CheckSize(const PcxHeader& header, PcxKind kind) {
    if (header.XMax == INT16_MAX || header.YMax == INT16_MAX) {
        return Error{std::string(header.XMax == INT16_MAX ? "XMax" : "YMax") +
                     " of 32767 is too large"};
    }
    const PcxGeometry geometry{header.XMax + 1, header.YMax + 1,
                               static_cast<std::size_t>(std::max<int>(header.BytesPerLine, 0))};
    if (geometry.width < 1 || geometry.height < 1) {
        return Error{"an image of " + std::to_string(geometry.width) + " x " +
                     std::to_string(geometry.height) + " pixels is empty"};
    }
    if (static_cast<std::int64_t>(geometry.width) * geometry.height > MaxPixels) {
        return Error{"an image of " + std::to_string(geometry.width) + " x " +
                     std::to_string(geometry.height) + " pixels is over 64 megapixels"};
    }
    if (kind != PcxKind::Unsupported && header.BytesPerLine <= 0) {
        return Error{"BytesPerLine is " + std::to_string(header.BytesPerLine)};
    }
    return geometry;
}

// Paints straight into an image's picture, sized and cleared to black at the
// start. The drawn kinds paint every pixel, so a picture that already has the
// size need not be cleared for them.
class PictureLines final : public PcxLineSink {
  public:
    explicit PictureLines(PcxImage& image) : image_(image) {}

    void Start(int width, int height, PcxKind kind) override {
        image_.kind = kind;
        Surface& picture = image_.picture;
        if (picture.Width() != width || picture.Height() != height) {
            picture.Resize(width, height);
        } else if (kind == PcxKind::Unsupported) {
            picture.Clear();
        }
    }
    Pixel* Row(int y) override { return image_.picture.Row(y); }
    void Painted(int) override {}

  private:
    PcxImage& image_;
};

} // namespace

std::optional<PcxHeader> ReadPcxHeader(std::span<const std::uint8_t> file) {
    if (file.size() < PcxHeader::Size) {
        return std::nullopt;
    }
    PcxHeader header;
    header.Manufacturer = file[0];
    header.Version = file[1];
    header.Encoding = file[2];
    header.BitsPerPixel = file[3];
    header.XMin = Int16At(file, 4);
    header.YMin = Int16At(file, 6);
    header.XMax = Int16At(file, 8);
    header.YMax = Int16At(file, 10);
    header.HDpi = Int16At(file, 12);
    header.VDpi = Int16At(file, 14);
    std::copy_n(file.begin() + 16, header.ColorMap.size(), header.ColorMap.begin());
    header.Reserved = file[64];
    header.NPlanes = file[65];
    header.BytesPerLine = Int16At(file, 66);
    header.PaletteInfo = Int16At(file, 68);
    header.HScreenSize = Int16At(file, 70);
    header.VScreenSize = Int16At(file, 72);
    return header;
}

std::optional<std::pair<int, int>> PcxPictureSize(std::span<const std::uint8_t> file) {
    const std::optional<PcxHeader> header = ReadPcxHeader(file);
    if (!header) {
        return std::nullopt;
    }
    const Result<PcxGeometry> checked = CheckSize(*header, PcxKindOf(*header));
    if (!checked) {
        return std::nullopt;
    }
    return std::pair{checked.value().width, checked.value().height};
}

PcxKind PcxKindOf(const PcxHeader& header) {
    const int bits = header.BitsPerPixel;
    const int planes = header.NPlanes;
    if (planes == 1 && bits == 8) {
        return PcxKind::Palette256;
    }
    if (planes == 1 && bits == 1) {
        return PcxKind::Monochrome;
    }
    if (planes == 4 && bits == 1) {
        return PcxKind::Colour16;
    }
    if (planes == 3 && bits == 8) {
        return PcxKind::TrueColour;
    }
    return PcxKind::Unsupported;
}

const char* PcxKindName(PcxKind kind) {
    switch (kind) {
    case PcxKind::Palette256:
        return "256-colour";
    case PcxKind::Monochrome:
        return "monochrome";
    case PcxKind::Colour16:
        return "16-colour";
    case PcxKind::TrueColour:
        return "true colour";
    case PcxKind::Unsupported:
        break;
    }
    return "unsupported";
}

Status DecodePCX(std::span<const std::uint8_t> file, PcxLineSink& sink) {
    const std::optional<PcxHeader> header = ReadPcxHeader(file);
    if (!header) {
        return Error{"the file is shorter than a PCX header (" + std::to_string(file.size()) +
                     " of 128 bytes)"};
    }
    const PcxKind kind = PcxKindOf(*header);
    Result<PcxGeometry> checked = CheckSize(*header, kind);
    if (!checked) {
        return checked;
    }
    const PcxGeometry& geometry = checked.value();
    sink.Start(geometry.width, geometry.height, kind);
    PcxRunReader reader(file.subspan(PcxHeader::Size), DecodedSize(kind, geometry));
    switch (kind) {
    case PcxKind::Palette256:
        PaintPalette256(reader, geometry, EndPalette(file), sink);
        break;
    case PcxKind::Monochrome:
        PaintMonochrome(reader, geometry, sink);
        break;
    case PcxKind::Colour16:
        PaintColour16(reader, geometry, header->ColorMap, sink);
        break;
    case PcxKind::TrueColour:
        PaintTrueColour(reader, geometry, sink);
        break;
    case PcxKind::Unsupported:
        break;
    }
    return {};
}

Status DecodePCX(std::span<const std::uint8_t> file, PcxImage& image) {
    PictureLines lines(image);
    return DecodePCX(file, lines);
}

Result<PcxImage> DecodePCX(std::span<const std::uint8_t> file) {
    PcxImage image;
    if (Status status = DecodePCX(file, image); !status) {
        return status;
    }
    return image;
}

} // namespace tessra
