#include "core/formats/tiled/tmx_layer_data.h"

#include <gtest/gtest.h>
#include <zlib.h>
#include <zstd.h>

using namespace tessra;

namespace {

using Bytes = std::vector<std::uint8_t>;
using Gids = std::vector<std::uint32_t>;

Bytes LittleEndian(const Gids& gids) {
    Bytes bytes;
    for (const std::uint32_t gid : gids) {
        for (int shift = 0; shift < 32; shift += 8) {
            bytes.push_back(static_cast<std::uint8_t>(gid >> shift));
        }
    }
    return bytes;
}

Bytes Deflate(const Bytes& bytes, bool gzip) {
    z_stream stream{};
    deflateInit2(&stream, 9, Z_DEFLATED, gzip ? 16 + MAX_WBITS : MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    Bytes packed(deflateBound(&stream, bytes.size()) + 32);
    stream.next_in = const_cast<Bytef*>(bytes.data());
    stream.avail_in = static_cast<uInt>(bytes.size());
    stream.next_out = packed.data();
    stream.avail_out = static_cast<uInt>(packed.size());
    deflate(&stream, Z_FINISH);
    packed.resize(stream.total_out);
    deflateEnd(&stream);
    return packed;
}

Bytes Zstd(const Bytes& bytes) {
    Bytes packed(ZSTD_compressBound(bytes.size()));
    packed.resize(ZSTD_compress(packed.data(), packed.size(), bytes.data(), bytes.size(), 3));
    return packed;
}

std::string Base64(const Bytes& bytes) {
    constexpr char digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string text;
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        const std::size_t n = std::min<std::size_t>(3, bytes.size() - i);
        std::uint32_t group = 0;
        for (std::size_t k = 0; k < 3; ++k) {
            group = group << 8 | (k < n ? bytes[i + k] : 0);
        }
        for (std::size_t k = 0; k < 4; ++k) {
            text += k <= n ? digits[group >> (18 - 6 * k) & 63] : '=';
        }
    }
    return text;
}

TiledLayer Layer(std::string encoding, std::string compression, std::string text,
                 long long width = 3) {
    TiledLayer layer;
    layer.name = "L";
    layer.width = width;
    layer.height = width == 3 ? 2 : 1;
    layer.encoding = std::move(encoding);
    layer.compression = std::move(compression);
    layer.text = std::move(text);
    return layer;
}

} // namespace

// Every format Tiled writes is read from maps Tiled saved (ImportTiledMap's
// tests); these are the edges: the largest number, and data that does not
// decode or does not fit the layer.
TEST(DecodeLayerData, ReadsTheEdgesAndRefusesWhatDoesNotFit) {
    const Gids cells = {1, 0, 0x80000003u, 4, 0xFFFFFFFFu, 6};
    const Bytes six = LittleEndian(cells), seven = LittleEndian({1, 2, 3, 4, 5, 6, 7});
    const auto cut = [](Bytes bytes) {
        bytes.resize(bytes.size() - 6);
        return bytes;
    };
    const struct {
        TiledLayer layer;
        std::string outcome;
    } cases[] = {
        {Layer("csv", "", "\n1,0,2147483651,\n4,4294967295,6,\n"), "ok"},
        {Layer("base64", "zstd", "\n  " + Base64(Zstd(six)) + "\n "), "ok"},
        {Layer("csv", "", "1,2,,4,5,6"), "value 3 of its CSV data, \"\", is not a tile number"},
        {Layer("csv", "", "1,2,3,4,5,4294967296"),
         "value 6 of its CSV data, \"4294967296\", is not a tile number"},
        {Layer("csv", "", "1,2,3,4,5"), "its data holds 5 cells, not 3 x 2"},
        {Layer("base64", "", Base64(seven)), "its data holds 7 cells, not 3 x 2"},
        {Layer("base64", "zlib", Base64(Deflate(seven, false))),
         "its data holds more than 6 cells, not 3 x 2"},
        {Layer("base64", "zstd", Base64(Zstd(seven))),
         "its data holds more than 6 cells, not 3 x 2"},
        {Layer("base64", "", Base64(Bytes(six.begin(), six.end() - 1))),
         "its data is 23 bytes long, not a whole number of cells"},
        {Layer("base64", "zlib", Base64(cut(Deflate(six, false)))),
         "its zlib data is damaged or cut short"},
        {Layer("base64", "gzip", Base64(cut(Deflate(six, true)))),
         "its gzip data is damaged or cut short"},
        {Layer("base64", "zstd", Base64(cut(Zstd(six)))), "its zstd data is cut short"},
        {Layer("base64", "zstd", Base64(six)),
         "its zstd data is damaged (Unknown frame descriptor)"},
        {Layer("base64", "", "AAA"),
         "its base64 data ends in the middle of a group of four characters"},
        {Layer("base64", "", "AA=A"), "its base64 data holds a character that base64 does not use"},
        {Layer("base64", "", "AA*A"), "its base64 data holds a character that base64 does not use"},
        {Layer("xml", "", ""),
         "its encoding \"xml\" is not supported (TESSRA reads csv and base64)"},
        {Layer("csv", "", "", 300), "it is 300 x 1 cells; TESSRA's map holds at most 256 x 256"},
    };
    for (const auto& c : cases) {
        const Result<Gids> gids = DecodeLayerData(c.layer);
        EXPECT_EQ(gids ? (gids.value() == cells ? "ok" : "other cells") : gids.message(),
                  c.outcome);
    }
}
