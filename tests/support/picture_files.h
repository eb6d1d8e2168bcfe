#pragma once

#include "core/render/surface.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>
#include <zlib.h>

namespace tessra {

inline std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

// A binary PPM (P6, maxval 255), as the reference pictures are stored.
inline Surface ReadPpm(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    int width = 0, height = 0, maxval = 0;
    in >> magic >> width >> height >> maxval;
    in.get();
    Surface picture(width, height);
    for (int i = 0; i < width * height; ++i) {
        unsigned char rgb[3];
        in.read(reinterpret_cast<char*>(rgb), 3);
        picture.data()[i] = Rgb(rgb[0], rgb[1], rgb[2]);
    }
    return in && magic == "P6" && maxval == 255 ? picture : Surface{};
}

// A PNG whose header declares another size, its checksum made right again.
inline std::vector<std::uint8_t> WithPngSize(std::vector<std::uint8_t> png, std::uint32_t width,
                                             std::uint32_t height) {
    for (int i = 0; i < 4; ++i) {
        png[16 + i] = static_cast<std::uint8_t>(width >> (24 - 8 * i));
        png[20 + i] = static_cast<std::uint8_t>(height >> (24 - 8 * i));
    }
    const std::uint32_t crc = crc32(0, png.data() + 12, 17);
    for (int i = 0; i < 4; ++i) {
        png[29 + i] = static_cast<std::uint8_t>(crc >> (24 - 8 * i));
    }
    return png;
}

// Empty when the pictures are equal, else the first difference.
inline std::string Difference(const Surface& actual, const Surface& expected) {
    if (actual.Width() != expected.Width() || actual.Height() != expected.Height()) {
        return "size " + std::to_string(actual.Width()) + " x " + std::to_string(actual.Height());
    }
    for (int i = 0; i < actual.Width() * actual.Height(); ++i) {
        if (actual.data()[i] != expected.data()[i]) {
            return "pixel " + std::to_string(i % actual.Width()) + ", " +
                   std::to_string(i / actual.Width());
        }
    }
    return {};
}

} // namespace tessra
