// Parses any bytes as a tile attributes file and writes back what it accepts.
#include "core/model/tile_attributes.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto table = tessra::ParseTileAttributes(bytes, "fuzz.attributes.json");
    if (table) {
        const std::string written = tessra::WriteTileAttributesBytes(table.value());
        const auto again = tessra::ParseTileAttributes(written, "again.attributes.json");
        if (!again || !(again.value() == table.value())) {
            std::abort(); // an accepted file must survive a save and a read
        }
    }
    return 0;
}
