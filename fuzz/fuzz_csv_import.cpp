// Imports any bytes as a CSV map; the first two bytes choose the size.
#include "core/formats/csv_import.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    const int x = 1 + data[0] % 255;
    const int y = 1 + data[1] % 255;
    const std::string_view bytes(reinterpret_cast<const char*>(data + 2), size - 2);
    (void)tessra::ImportCsv(bytes, x, y);
    return 0;
}
