// Decodes any bytes as a PNG tileset and cuts them into the palette.
#include "core/formats/pcx.h"
#include "core/formats/tileset_picture.h"
#include "core/model/editor_state.h"
#include "core/render/palette_build.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace {

// Width times height from the header, where a PNG keeps them, or from a PCX
// header: bytes starting 0x0A go to the PCX decoder whatever the name.
std::uint64_t DeclaredPixels(std::span<const std::uint8_t> file) {
    if (const auto header = tessra::ReadPcxHeader(file); header && file[0] == 0x0A) {
        return std::uint64_t(header->XMax + 1L) * std::uint64_t(header->YMax + 1L);
    }
    if (file.size() < 24) {
        return 0;
    }
    const auto at = [&](std::size_t i) {
        return std::uint64_t{file[i]} << 24 | file[i + 1] << 16 | file[i + 2] << 8 | file[i + 3];
    };
    return at(16) * at(20);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> file(data, size);
    // Huge pictures decode by the same loops as small ones, only slower.
    if (DeclaredPixels(file) > (1u << 20)) {
        return 0;
    }
    tessra::EditorState state;
    state.Tilesets = {"a.png", "b.png"};
    tessra::Surface palette;
    tessra::ReloadTilesets(state, palette, [&](const std::string& name) {
        return tessra::DecodeTilesetPicture(file, name);
    });
    return 0;
}
