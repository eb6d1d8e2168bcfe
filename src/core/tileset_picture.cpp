#include "core/tileset_picture.h"

#include "core/pcx.h"
#include "core/png.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace tessra {

namespace {

constexpr std::uint8_t PcxManufacturer = 0x0A;

bool HasPngName(std::string_view name) {
    constexpr std::string_view extension = ".png";
    return name.size() >= extension.size() &&
           std::equal(
               extension.begin(), extension.end(), name.end() - extension.size(),
               [](char a, char b) { return a == std::tolower(static_cast<unsigned char>(b)); });
}

Error NamingFile(std::string_view name, const std::string& message) {
    return Error{std::string(name) + ": " + message};
}

} // namespace

Result<Surface> DecodeTilesetPicture(std::span<const std::uint8_t> file, std::string_view name) {
    const bool looksPcx = !file.empty() && file[0] == PcxManufacturer;
    if (HasPngSignature(file) || (HasPngName(name) && !looksPcx)) {
        Result<Surface> picture = DecodePNG(file);
        if (!picture) {
            return NamingFile(name, picture.message());
        }
        return picture;
    }
    Result<PcxImage> image = DecodePCX(file);
    if (!image) {
        return NamingFile(name, image.message());
    }
    return std::move(image.value().picture);
}

} // namespace tessra
