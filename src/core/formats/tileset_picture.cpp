#include "core/formats/tileset_picture.h"

#include "core/formats/pcx.h"
#include "core/formats/png.h"
#include "core/render/palette_build.h"

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

std::optional<std::pair<int, int>> TilesetPictureSizeOfHead(std::span<const std::uint8_t> head) {
    return HasPngSignature(head)                         ? PngPictureSize(head)
           : !head.empty() && head[0] == PcxManufacturer ? PcxPictureSize(head)
                                                         : std::nullopt;
}

std::optional<int> TilesetTileCountOfHead(std::span<const std::uint8_t> head) {
    const auto size = TilesetPictureSizeOfHead(head);
    if (!size) {
        return std::nullopt;
    }
    return TilesetTileCount(size->first, size->second);
}

Result<Surface> DecodeTilesetPicture(std::span<const std::uint8_t> file, std::string_view name) {
    const bool looksPcx = !file.empty() && file[0] == PcxManufacturer;
    if (HasPngSignature(file) || (HasPngName(name) && !looksPcx)) {
        Result<Surface> picture = DecodePNG(file);
        if (!picture) {
            return NamingFile(name, picture.message());
        }
        return picture;
    }
    // Every PCX starts with its maker's byte; anything else would be read as a
    // picture of whatever size and kind its bytes happen to spell.
    if (!looksPcx) {
        return NamingFile(name, "it is not a PCX or PNG picture (a PCX file starts with the "
                                "byte 10, a PNG file with the PNG signature)");
    }
    Result<PcxImage> image = DecodePCX(file);
    if (!image) {
        return NamingFile(name, image.message());
    }
    return std::move(image.value().picture);
}

std::optional<std::string> UndrawnPictureNote(std::span<const std::uint8_t> file,
                                              std::string_view name) {
    const std::optional<PcxHeader> header = ReadPcxHeader(file);
    if (!header || header->Manufacturer != PcxManufacturer ||
        PcxKindOf(*header) != PcxKind::Unsupported) {
        return std::nullopt;
    }
    const auto plural = [](int n, const char* one) {
        return std::to_string(n) + ' ' + one + (n == 1 ? "" : "s");
    };
    return std::string(name) + " is a PCX picture of " + plural(header->BitsPerPixel, "bit") +
           " x " + plural(header->NPlanes, "plane") +
           ", a kind the editor does not draw: its tiles show black. The editor draws 8 bits x "
           "1 plane, 1 bit x 1 plane, 1 bit x 4 planes and 8 bits x 3 planes.";
}

} // namespace tessra
