#include "core/formats/dat_file.h"

#include "core/base/number_text.h"

#include <algorithm>
#include <string>

namespace tessra {

namespace {

Result<int> ReadCount(std::string_view text, std::string_view axis) {
    const std::optional<int> count = BoxNumber(text, 1, MapSize, BoxRounding::WholePart);
    if (!count) {
        return Error{"Illegal " + std::string(axis) + " size: enter a number from 1 to 256."};
    }
    return *count;
}

} // namespace

Result<MapFileSize> ReadMapFileSize(std::string_view xText, std::string_view yText) {
    const Result<int> w = ReadCount(xText, "X");
    if (!w) {
        return w;
    }
    const Result<int> h = ReadCount(yText, "Y");
    if (!h) {
        return h;
    }
    return MapFileSize{w.value(), h.value()};
}

std::vector<std::uint8_t> WriteMapFileBytes(const MapGrid& map, int W, int H) {
    W = std::clamp(W, 0, MapSize);
    H = std::clamp(H, 0, MapSize);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(W) * H);
    for (int y = 0; y < H; ++y) {
        std::copy_n(map.data() + MapGrid::Index(0, y), W,
                    bytes.data() + static_cast<std::size_t>(y) * W);
    }
    return bytes;
}

} // namespace tessra
