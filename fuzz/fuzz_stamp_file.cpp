// Parses any bytes as a stamp file and writes back what it accepts, which
// must read again as the same stamp.
#include "core/formats/stamp_file.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto stamp = tessra::ParseStamp(bytes, "fuzz.tstamp");
    if (stamp) {
        const tessra::StampFile& read = stamp.value();
        const auto again = tessra::ParseStamp(
            tessra::WriteStampBytes(read.Width, read.Height, read.Cells), "again");
        if (!again || again.value().Width != read.Width || again.value().Height != read.Height ||
            again.value().Cells != read.Cells) {
            std::abort();
        }
    }
    return 0;
}
