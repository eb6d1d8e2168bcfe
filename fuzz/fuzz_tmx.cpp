// Reads any bytes as a Tiled map; a tileset file it names reads the same
// bytes, and every picture is one small PNG.
#include "core/formats/image_encoders.h"
#include "core/formats/tiled/tmx_import.h"

#include <cstddef>
#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::vector<std::uint8_t> picture = tessra::EncodePng(tessra::Surface(64, 48));
    const std::vector<std::uint8_t> file(data, data + size);
    const tessra::FileReader read = [&](const std::string& path) {
        const bool tileset = path.ends_with(".tsx") || path.ends_with(".tsj");
        return tessra::Result<std::vector<std::uint8_t>>(tileset ? file : picture);
    };
    const auto import = tessra::ImportTiledMap(file, "maps/map.tmx", read);
    if (import) {
        tessra::DescribeTiledImport(import.value());
    }
    return 0;
}
