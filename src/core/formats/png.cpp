#include "core/formats/png.h"

#include <algorithm>
#include <array>
#include <memory>
#include <spng.h>
#include <string>

namespace tessra {

namespace {

constexpr std::array<std::uint8_t, 8> Signature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr std::uint64_t MaxPixels = std::uint64_t{64} << 20;
// Text and colour-profile chunks are read into memory; no honest tileset
// carries this much of them.
constexpr std::size_t MaxChunkMemory = std::size_t{64} << 20;

struct ContextFree {
    void operator()(spng_ctx* context) const { spng_ctx_free(context); }
};
using Context = std::unique_ptr<spng_ctx, ContextFree>;

Error Refusal(int code) {
    switch (code) {
    case SPNG_IO_EOF:
    case SPNG_IO_ERROR:
    case SPNG_EIO:
    case SPNG_EOF:
    case SPNG_EIDAT_TOO_SHORT:
        return Error{"the file ends before its picture does (it is cut short)"};
    case SPNG_ECHUNK_CRC:
        return Error{"a checksum does not match its data (the file is damaged)"};
    case SPNG_EMEM:
    case SPNG_ECHUNK_LIMITS:
        return Error{"its chunks need more memory than a tileset may take"};
    default:
        return Error{std::string("the PNG data is damaged (") + spng_strerror(code) + ")"};
    }
}

Status CheckSize(const spng_ihdr& header) {
    const std::uint64_t pixels = std::uint64_t{header.width} * header.height;
    if (pixels > MaxPixels) {
        return Error{"an image of " + std::to_string(header.width) + " x " +
                     std::to_string(header.height) + " pixels is over 64 megapixels"};
    }
    return {};
}

// The decoder leaves red, green, blue and alpha bytes in each pixel's place;
// turn them into the editor's pixels, transparent ones black.
void ApplyAlpha(Surface& picture) {
    Pixel* pixels = picture.data();
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(pixels);
    const std::size_t count = std::size_t(picture.Width()) * picture.Height();
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t* rgba = bytes + 4 * i;
        pixels[i] = rgba[3] < 128 ? Black : Rgb(rgba[0], rgba[1], rgba[2]);
    }
}

} // namespace

bool HasPngSignature(std::span<const std::uint8_t> file) {
    return file.size() >= Signature.size() &&
           std::equal(Signature.begin(), Signature.end(), file.begin());
}

std::optional<std::pair<int, int>> PngPictureSize(std::span<const std::uint8_t> file) {
    constexpr std::size_t HeaderEnd = 24; // signature, chunk length and type, width, height
    static constexpr std::uint8_t Ihdr[] = {'I', 'H', 'D', 'R'};
    if (!HasPngSignature(file) || file.size() < HeaderEnd ||
        !std::equal(std::begin(Ihdr), std::end(Ihdr), file.begin() + 12)) {
        return std::nullopt;
    }
    const auto bigEndian = [&file](std::size_t at) {
        return std::uint32_t{file[at]} << 24 | std::uint32_t{file[at + 1]} << 16 |
               std::uint32_t{file[at + 2]} << 8 | file[at + 3];
    };
    const std::uint32_t width = bigEndian(16);
    const std::uint32_t height = bigEndian(20);
    if (width == 0 || height == 0 || std::uint64_t{width} * height > MaxPixels) {
        return std::nullopt;
    }
    return std::pair{static_cast<int>(width), static_cast<int>(height)};
}

Result<Surface> DecodePNG(std::span<const std::uint8_t> file) {
    if (!HasPngSignature(file)) {
        return Error{"it is not a PNG file (it does not start with the PNG signature)"};
    }
    const Context context(spng_ctx_new(0));
    if (!context) {
        return Refusal(SPNG_EMEM);
    }
    spng_ctx* png = context.get();
    spng_set_png_buffer(png, file.data(), file.size());
    spng_set_chunk_limits(png, MaxChunkMemory, MaxChunkMemory);
    // A damaged comment or colour profile costs nothing; damaged pixels do.
    spng_set_crc_action(png, SPNG_CRC_ERROR, SPNG_CRC_DISCARD);
    spng_ihdr header{};
    if (const int code = spng_get_ihdr(png, &header)) {
        return Refusal(code);
    }
    if (Status size = CheckSize(header); !size) {
        return Error{size.message()};
    }
    std::size_t size = 0;
    if (const int code = spng_decoded_image_size(png, SPNG_FMT_RGBA8, &size)) {
        return Refusal(code);
    }
    Surface picture(static_cast<int>(header.width), static_cast<int>(header.height));
    if (size != picture.Width() * std::size_t{4} * picture.Height()) {
        return Refusal(SPNG_EINTERNAL);
    }
    if (const int code =
            spng_decode_image(png, picture.data(), size, SPNG_FMT_RGBA8, SPNG_DECODE_TRNS)) {
        return Refusal(code);
    }
    // The chunks after the picture, to the end: a checksum there or a missing
    // end is damage as much as inside the picture.
    if (const int code = spng_decode_chunks(png)) {
        return Refusal(code);
    }
    ApplyAlpha(picture);
    return picture;
}

} // namespace tessra
