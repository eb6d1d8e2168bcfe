#include "core/formats/tiled/tmx_layer_data.h"

#include "core/base/message_text.h"
#include "core/model/map_grid.h"

#include <array>
#include <charconv>
#include <memory>
#include <string>
#include <zlib.h>
#include <zstd.h>

namespace tessra {

namespace {

using Bytes = std::vector<std::uint8_t>;
using Gids = std::vector<std::uint32_t>;

constexpr std::string_view Blanks = " \t\r\n";

std::string_view Trim(std::string_view text) {
    const std::size_t first = text.find_first_not_of(Blanks);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(Blanks) - first + 1);
}

std::string SizeOf(const TiledLayer& layer) {
    return std::to_string(layer.width) + " x " + std::to_string(layer.height);
}

Error WrongCount(const TiledLayer& layer, const std::string& count) {
    return Error{"its data holds " + count + " cells, not " + SizeOf(layer)};
}

// Reads no more than one value past the cells the layer has.
Result<Gids> ReadCsv(std::string_view text, std::size_t cells) {
    Gids gids;
    text = Trim(text);
    if (text.ends_with(',')) { // a last row ended like the others
        text.remove_suffix(1);
    }
    while (!text.empty() && gids.size() <= cells) {
        const std::size_t comma = text.find(',');
        const std::string_view value = Trim(text.substr(0, comma));
        std::uint32_t gid = 0;
        const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), gid);
        if (value.empty() || error != std::errc{} || end != value.data() + value.size()) {
            return Error{"value " + std::to_string(gids.size() + 1) + " of its CSV data, \"" +
                         Shortened(value) + "\", is not a tile number"};
        }
        gids.push_back(gid);
        text = comma == std::string_view::npos ? std::string_view{} : text.substr(comma + 1);
    }
    return gids;
}

int Base64Digit(char c) {
    constexpr std::string_view digits =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    const std::size_t found = digits.find(c);
    return found == std::string_view::npos ? -1 : static_cast<int>(found);
}

Result<Bytes> ReadBase64(std::string_view text) {
    Bytes bytes;
    bytes.reserve(text.size() / 4 * 3);
    std::uint32_t bits = 0;
    int count = 0;
    std::size_t padding = 0;
    for (const char c : text) {
        if (Blanks.find(c) != std::string_view::npos) {
            continue;
        }
        const int digit = c == '=' ? 0 : Base64Digit(c);
        padding += c == '=';
        if (digit < 0 || (padding > 0 && c != '=') || padding > 2) {
            return Error{"its base64 data holds a character that base64 does not use"};
        }
        bits = bits << 6 | static_cast<std::uint32_t>(digit);
        if (++count == 4) {
            bytes.insert(bytes.end(),
                         {static_cast<std::uint8_t>(bits >> 16),
                          static_cast<std::uint8_t>(bits >> 8), static_cast<std::uint8_t>(bits)});
            bits = 0;
            count = 0;
        }
    }
    if (count != 0) {
        return Error{"its base64 data ends in the middle of a group of four characters"};
    }
    bytes.resize(bytes.size() - padding);
    return bytes;
}

// zlib or gzip, stopping one byte past the size the layer needs.
Result<Bytes> Inflate(const Bytes& packed, std::size_t size, bool gzip) {
    z_stream stream{};
    if (inflateInit2(&stream, gzip ? 16 + MAX_WBITS : MAX_WBITS) != Z_OK) {
        return Error{"zlib could not start"};
    }
    Bytes bytes(size + 1);
    stream.next_in = const_cast<Bytef*>(packed.data());
    stream.avail_in = static_cast<uInt>(packed.size());
    stream.next_out = bytes.data();
    stream.avail_out = static_cast<uInt>(bytes.size());
    const int status = inflate(&stream, Z_FINISH);
    bytes.resize(bytes.size() - stream.avail_out);
    inflateEnd(&stream);
    if (status != Z_STREAM_END && bytes.size() <= size) {
        return Error{std::string("its ") + (gzip ? "gzip" : "zlib") +
                     " data is damaged or cut short"};
    }
    return bytes;
}

Result<Bytes> Unzstd(const Bytes& packed, std::size_t size) {
    const std::unique_ptr<ZSTD_DCtx, std::size_t (*)(ZSTD_DCtx*)> context(ZSTD_createDCtx(),
                                                                          ZSTD_freeDCtx);
    if (!context) {
        return Error{"zstd could not start"};
    }
    Bytes bytes(size + 1);
    ZSTD_inBuffer in{packed.data(), packed.size(), 0};
    ZSTD_outBuffer out{bytes.data(), bytes.size(), 0};
    std::size_t left = 1;
    while (left != 0 && out.pos < out.size) {
        const std::size_t progress = in.pos + out.pos;
        left = ZSTD_decompressStream(context.get(), &out, &in);
        if (ZSTD_isError(left)) {
            return Error{std::string("its zstd data is damaged (") + ZSTD_getErrorName(left) + ")"};
        }
        if (left != 0 && in.pos + out.pos == progress) {
            return Error{"its zstd data is cut short"};
        }
    }
    bytes.resize(out.pos);
    return bytes;
}

Result<Bytes> Decompress(const TiledLayer& layer, const Bytes& packed, std::size_t size) {
    if (layer.compression.empty()) {
        return packed;
    }
    if (layer.compression == "zlib" || layer.compression == "gzip") {
        return Inflate(packed, size, layer.compression == "gzip");
    }
    if (layer.compression == "zstd") {
        return Unzstd(packed, size);
    }
    return Error{"its compression \"" + layer.compression +
                 "\" is not supported (TESSRA reads zlib, gzip and zstd)"};
}

Result<Gids> ReadBinary(const TiledLayer& layer, std::size_t cells) {
    const Result<Bytes> text = ReadBase64(layer.text);
    if (!text) {
        return Error{text.message()};
    }
    const Result<Bytes> bytes = Decompress(layer, text.value(), 4 * cells);
    if (!bytes) {
        return Error{bytes.message()};
    }
    const Bytes& data = bytes.value();
    if (!layer.compression.empty() && data.size() > 4 * cells) {
        // Decompression stops one byte past the size wanted.
        return WrongCount(layer, "more than " + std::to_string(cells));
    }
    if (data.size() % 4 != 0) {
        return Error{"its data is " + std::to_string(data.size()) +
                     " bytes long, not a whole number of cells"};
    }
    Gids gids(data.size() / 4);
    for (std::size_t i = 0; i < gids.size(); ++i) {
        gids[i] = std::uint32_t{data[4 * i]} | std::uint32_t{data[4 * i + 1]} << 8 |
                  std::uint32_t{data[4 * i + 2]} << 16 | std::uint32_t{data[4 * i + 3]} << 24;
    }
    return gids;
}

Result<Gids> ReadCells(const TiledLayer& layer, std::size_t cells) {
    if (layer.encoding.empty()) {
        return layer.gids;
    }
    if (layer.encoding == "csv") {
        Result<Gids> gids = ReadCsv(layer.text, cells);
        if (gids && gids.value().size() > cells) {
            return WrongCount(layer, "more than " + std::to_string(cells));
        }
        return gids;
    }
    if (layer.encoding == "base64") {
        return ReadBinary(layer, cells);
    }
    return Error{"its encoding \"" + layer.encoding +
                 "\" is not supported (TESSRA reads csv and base64)"};
}

} // namespace

Result<Gids> DecodeLayerData(const TiledLayer& layer) {
    if (layer.width > MapSize || layer.height > MapSize) {
        return Error{"it is " + SizeOf(layer) + " cells; TESSRA's map holds at most 256 x 256"};
    }
    const auto cells = static_cast<std::size_t>(layer.width * layer.height);
    Result<Gids> gids = ReadCells(layer, cells);
    if (gids && gids.value().size() != cells) {
        return WrongCount(layer, std::to_string(gids.value().size()));
    }
    return gids;
}

} // namespace tessra
