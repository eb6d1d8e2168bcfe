// Decodes any bytes as a tileset and cuts them into the palette.
#include "core/editor_state.h"
#include "core/palette.h"
#include "core/pcx.h"

#include <cstddef>
#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> file(data, size);
    // Huge pictures decode by the same loops as small ones, only slower.
    if (const auto header = tessra::ReadPcxHeader(file)) {
        if ((header->XMax + 1L) * (header->YMax + 1L) > (1L << 20)) {
            return 0;
        }
    }
    tessra::EditorState state;
    state.Tilesets = {"a.pcx", "b.pcx"};
    tessra::Surface palette;
    tessra::ReloadTilesets(state, palette, [&](const std::string&) -> tessra::Result<tessra::Surface> {
        auto image = tessra::DecodePCX(file);
        if (!image) {
            return image;
        }
        return std::move(image).value().picture;
    });
    return 0;
}
