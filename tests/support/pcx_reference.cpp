#include "support/pcx_reference.h"

#include "core/formats/pcx.h"

#include <algorithm>
#include <vector>

namespace tessra {

std::size_t PlainDecodeBytes(std::span<const std::uint8_t> file) {
    const PcxHeader header = ReadPcxHeader(file).value();
    const std::size_t w = header.XMax + 1, h = header.YMax + 1;
    const PcxKind kind = PcxKindOf(header);
    const std::size_t area = w * h;
    return std::max<std::size_t>(kind == PcxKind::Palette256   ? area + 4097
                                 : kind == PcxKind::TrueColour ? 3 * area + 1
                                 : kind == PcxKind::Colour16   ? 4 * area + 1
                                                               : area + 1,
                                 std::size_t(header.NPlanes) * header.BytesPerLine * h + 1);
}

Surface PlainDecodePCX(std::span<const std::uint8_t> file) {
    const PcxHeader header = ReadPcxHeader(file).value();
    const int w = header.XMax + 1, h = header.YMax + 1, bpl = header.BytesPerLine;
    const PcxKind kind = PcxKindOf(header);
    const std::size_t size = PlainDecodeBytes(file);
    std::vector<std::uint8_t> raw(file.begin() + 128, file.end()), decoded(size, 0);
    raw.push_back(0);
    for (std::size_t i = 0, k = 0; i < raw.size(); ++i) {
        const bool count = (raw[i] & 0xC0) == 0xC0;
        const std::size_t n = count ? raw[i] & 0x3F : 1;
        const std::uint8_t v = count ? raw[++i] : raw[i];
        for (std::size_t j = 0; j < n; ++j, ++k) {
            if (k < size) {
                decoded[k] = v;
            }
        }
    }
    const auto at = [&](std::size_t k) { return k < size ? decoded[k] : 0; };
    Surface picture(w, h);
    for (int y = 0, k = 0; kind == PcxKind::Monochrome && y < h; ++y, k += (w + 7) / 8 % 2) {
        for (int x = 0; x < w; ++k) {
            for (int bit = 7; bit >= 0; --bit, ++x) {
                if (x < w) {
                    picture.Set(x, y, at(k) >> bit & 1 ? White : Black);
                }
            }
        }
    }
    for (int y = 0; y < h && kind != PcxKind::Monochrome; ++y) {
        for (int x = 0; x < w; ++x) {
            const std::size_t line = std::size_t(header.NPlanes) * bpl * y;
            const auto plane = [&](int p) { return at(line + std::size_t(p) * bpl + x); };
            const auto bit = [&](int p) { return at(line + p * bpl + x / 8) >> (7 - x % 8) & 1; };
            const std::size_t entry = file.size() - 768 + 3 * plane(0);
            const auto end = [&](std::size_t i) { return i < file.size() ? file[i] : 0; };
            const int index = bit(0) + 2 * bit(1) + 4 * bit(2) + 8 * bit(3);
            const std::uint8_t* map =
                header.ColorMap.data() + 3 * (kind == PcxKind::Colour16 ? index : 0);
            picture.Set(x, y,
                        kind == PcxKind::Palette256
                            ? Rgb(end(entry), end(entry + 1), end(entry + 2))
                        : kind == PcxKind::TrueColour ? Rgb(plane(0), plane(1), plane(2))
                        : kind == PcxKind::Colour16   ? Rgb(map[0], map[1], map[2])
                                                      : Black);
        }
    }
    return picture;
}

} // namespace tessra
