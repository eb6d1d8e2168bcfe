#include "core/formats/image_encoders.h"

#include <algorithm>
#include <spng.h>
#include <string>

namespace tessra {

namespace {

using Bytes = std::vector<std::uint8_t>;

void PutLittle(Bytes& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

// Red, green, blue in memory order, however the pixel is laid out.
void PackRgbPlain(const Pixel* row, int width, std::uint8_t* out) {
    for (int x = 0; x < width; ++x, out += 3) {
        out[0] = static_cast<std::uint8_t>(row[x]);
        out[1] = static_cast<std::uint8_t>(row[x] >> 8);
        out[2] = static_cast<std::uint8_t>(row[x] >> 16);
    }
}

ByteOutput ToBytes(Bytes& out) {
    return [&out](std::span<const std::uint8_t> bytes) {
        out.insert(out.end(), bytes.begin(), bytes.end());
    };
}

} // namespace

struct PngEncoder::Context {
    ByteOutput output;
    int height;
    int rows = 0;
    int error = 0;
    Bytes line;
    spng_ctx* png = nullptr;

    static int Write(spng_ctx*, void* self, void* data, std::size_t length) {
        static_cast<Context*>(self)->output({static_cast<const std::uint8_t*>(data), length});
        return 0;
    }
};

PngEncoder::PngEncoder(int width, int height, ByteOutput output)
    : context_(std::make_unique<Context>()) {
    Context& c = *context_;
    c.output = std::move(output);
    c.height = height;
    c.line.resize(3 * static_cast<std::size_t>(std::max(width, 0)));
    c.png = spng_ctx_new(SPNG_CTX_ENCODER);
    if (!c.png) {
        c.error = SPNG_EMEM;
        return;
    }
    spng_ihdr header{};
    header.width = static_cast<std::uint32_t>(std::max(width, 0));
    header.height = static_cast<std::uint32_t>(std::max(height, 0));
    header.bit_depth = 8;
    header.color_type = SPNG_COLOR_TYPE_TRUECOLOR;
    // Measured on whole-map pictures (docs/performance.md): tiles repeat byte
    // for byte, which unfiltered lines keep for deflate to find, so they come
    // out smaller than filtered ones and several times faster. Level 5's lazy
    // search finds the repeats of a map of a few tiles that levels 1 to 3
    // miss (up to 40 % fewer bytes) for twice level 1's time.
    int error = spng_set_png_stream(c.png, Context::Write, &c);
    error = error ? error : spng_set_ihdr(c.png, &header);
    error = error ? error : spng_set_option(c.png, SPNG_IMG_COMPRESSION_LEVEL, 5);
    error = error ? error : spng_set_option(c.png, SPNG_FILTER_CHOICE, SPNG_DISABLE_FILTERING);
    error = error ? error
                  : spng_encode_image(c.png, nullptr, 0, SPNG_FMT_PNG,
                                      SPNG_ENCODE_PROGRESSIVE | SPNG_ENCODE_FINALIZE);
    c.error = error;
}

PngEncoder::~PngEncoder() {
    spng_ctx_free(context_->png);
}

void PngEncoder::AddRow(const Pixel* row) {
    Context& c = *context_;
    if (c.error || c.rows >= c.height) {
        return;
    }
    PackRgbPlain(row, static_cast<int>(c.line.size() / 3), c.line.data());
    ++c.rows;
    const int status = spng_encode_row(c.png, c.line.data(), c.line.size());
    if (status != 0 && status != SPNG_EOI) {
        c.error = status;
    }
}

Status PngEncoder::Finish() {
    const Context& c = *context_;
    if (c.error) {
        return Error{std::string("the PNG encoder failed: ") + spng_strerror(c.error)};
    }
    if (c.rows < c.height) {
        return Error{"the PNG encoder got " + std::to_string(c.rows) + " of " +
                     std::to_string(c.height) + " rows"};
    }
    return {};
}

BmpEncoder::BmpEncoder(int width, int height, ByteOutput output)
    : output_(std::move(output)), width_(std::max(width, 0)), height_(std::max(height, 0)) {
    const auto stride = static_cast<std::uint32_t>(3 * width_ + 3) & ~3u; // 4-byte lines
    const std::uint32_t pixelBytes = stride * static_cast<std::uint32_t>(height_);
    constexpr std::uint32_t Headers = 14 + 40;
    Bytes header{'B', 'M'};
    PutLittle(header, Headers + pixelBytes, 4);
    PutLittle(header, 0, 4);
    PutLittle(header, Headers, 4);
    PutLittle(header, 40, 4);
    PutLittle(header, static_cast<std::uint32_t>(width_), 4);
    PutLittle(header, static_cast<std::uint32_t>(height_), 4); // positive: bottom to top
    PutLittle(header, 1, 2);
    PutLittle(header, 24, 2);
    PutLittle(header, 0, 4); // no compression
    PutLittle(header, pixelBytes, 4);
    PutLittle(header, 2835, 4); // 72 dots per inch
    PutLittle(header, 2835, 4);
    PutLittle(header, 0, 4);
    PutLittle(header, 0, 4);
    output_(header);
    line_.assign(stride, 0);
}

void BmpEncoder::AddRow(const Pixel* row) {
    if (rows_ >= height_) {
        return;
    }
    for (int x = 0; x < width_; ++x) {
        line_[3 * x] = static_cast<std::uint8_t>(row[x] >> 16);
        line_[3 * x + 1] = static_cast<std::uint8_t>(row[x] >> 8);
        line_[3 * x + 2] = static_cast<std::uint8_t>(row[x]);
    }
    ++rows_;
    output_(line_);
}

Status BmpEncoder::Finish() {
    if (rows_ < height_) {
        return Error{"the BMP encoder got " + std::to_string(rows_) + " of " +
                     std::to_string(height_) + " rows"};
    }
    return {};
}

Bytes EncodePng(const Surface& picture) {
    Bytes out;
    PngEncoder encoder(picture.Width(), picture.Height(), ToBytes(out));
    for (int y = 0; y < picture.Height(); ++y) {
        encoder.AddRow(picture.Row(y));
    }
    return encoder.Finish() ? out : Bytes{};
}

Bytes EncodeBmp(const Surface& picture) {
    Bytes out;
    BmpEncoder encoder(picture.Width(), picture.Height(), ToBytes(out));
    for (int y = picture.Height() - 1; y >= 0; --y) {
        encoder.AddRow(picture.Row(y));
    }
    return out;
}

} // namespace tessra
