#include "core/image_encoders.h"

#include <new>
#include <string_view>
#include <zlib.h>

namespace tessra {

namespace {

using Bytes = std::vector<std::uint8_t>;

void PutLittle(Bytes& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

void PutBig32(Bytes& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

std::uint8_t Red(Pixel p) {
    return static_cast<std::uint8_t>(p);
}
std::uint8_t Green(Pixel p) {
    return static_cast<std::uint8_t>(p >> 8);
}
std::uint8_t Blue(Pixel p) {
    return static_cast<std::uint8_t>(p >> 16);
}

// PNG: a chunk is its length, type, data and a CRC of type and data.
void PutChunk(Bytes& out, std::string_view type, const std::uint8_t* data, std::size_t size) {
    PutBig32(out, static_cast<std::uint32_t>(size));
    const std::size_t start = out.size();
    out.insert(out.end(), type.begin(), type.end());
    out.insert(out.end(), data, data + size);
    const uLong crc = crc32(0, out.data() + start, static_cast<uInt>(out.size() - start));
    PutBig32(out, static_cast<std::uint32_t>(crc));
}

// Compresses the picture's lines (each led by filter type 0) into IDAT chunks
// as zlib fills its buffer, so that no uncompressed copy of the picture is made.
class IdatWriter {
  public:
    explicit IdatWriter(Bytes& out) : out_(out) {
        if (deflateInit(&stream_, Z_DEFAULT_COMPRESSION) != Z_OK) {
            throw std::bad_alloc(); // zlib's only reason, given valid arguments
        }
    }
    ~IdatWriter() { deflateEnd(&stream_); }
    IdatWriter(const IdatWriter&) = delete;
    IdatWriter& operator=(const IdatWriter&) = delete;

    void AddLine(const Pixel* row, int width) {
        line_.assign(1, 0);
        for (int x = 0; x < width; ++x) {
            line_.insert(line_.end(), {Red(row[x]), Green(row[x]), Blue(row[x])});
        }
        Deflate(line_.data(), line_.size(), Z_NO_FLUSH);
    }

    void Finish() { Deflate(nullptr, 0, Z_FINISH); }

  private:
    void Deflate(std::uint8_t* data, std::size_t size, int flush) {
        stream_.next_in = data;
        stream_.avail_in = static_cast<uInt>(size);
        int status = Z_OK;
        do {
            stream_.next_out = chunk_.data();
            stream_.avail_out = static_cast<uInt>(chunk_.size());
            status = deflate(&stream_, flush);
            const std::size_t produced = chunk_.size() - stream_.avail_out;
            if (produced > 0) {
                PutChunk(out_, "IDAT", chunk_.data(), produced);
            }
        } while (stream_.avail_out == 0 || (flush == Z_FINISH && status != Z_STREAM_END));
    }

    Bytes& out_;
    z_stream stream_{};
    Bytes line_;
    Bytes chunk_ = Bytes(256 * 1024);
};

} // namespace

Bytes EncodeBmp(const Surface& picture) {
    const auto width = static_cast<std::uint32_t>(picture.Width());
    const auto height = static_cast<std::uint32_t>(picture.Height());
    const std::uint32_t stride = (3 * width + 3) & ~3u; // lines are padded to 4 bytes
    constexpr std::uint32_t Headers = 14 + 40;
    Bytes out;
    out.reserve(Headers + stride * height);
    out.insert(out.end(), {'B', 'M'});
    PutLittle(out, Headers + stride * height, 4);
    PutLittle(out, 0, 4);
    PutLittle(out, Headers, 4);
    PutLittle(out, 40, 4);
    PutLittle(out, width, 4);
    PutLittle(out, height, 4); // positive: the lines run bottom to top
    PutLittle(out, 1, 2);
    PutLittle(out, 24, 2);
    PutLittle(out, 0, 4); // no compression
    PutLittle(out, stride * height, 4);
    PutLittle(out, 2835, 4); // 72 dots per inch
    PutLittle(out, 2835, 4);
    PutLittle(out, 0, 4);
    PutLittle(out, 0, 4);
    for (int y = picture.Height() - 1; y >= 0; --y) {
        const Pixel* row = picture.Row(y);
        for (std::uint32_t x = 0; x < width; ++x) {
            out.insert(out.end(), {Blue(row[x]), Green(row[x]), Red(row[x])});
        }
        out.resize(out.size() + stride - 3 * width, 0);
    }
    return out;
}

Bytes EncodePng(const Surface& picture) {
    Bytes out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Bytes header;
    PutBig32(header, static_cast<std::uint32_t>(picture.Width()));
    PutBig32(header, static_cast<std::uint32_t>(picture.Height()));
    header.insert(header.end(), {8, 2, 0, 0, 0}); // 8-bit RGB, not interlaced
    PutChunk(out, "IHDR", header.data(), header.size());
    IdatWriter idat(out);
    for (int y = 0; y < picture.Height(); ++y) {
        idat.AddLine(picture.Row(y), picture.Width());
    }
    idat.Finish();
    PutChunk(out, "IEND", nullptr, 0);
    return out;
}

} // namespace tessra
