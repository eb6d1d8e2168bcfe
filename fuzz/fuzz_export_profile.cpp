// Parses any bytes as an export profile and writes back what it accepts.
#include "core/export/export_profile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto profile = tessra::ParseExportProfile(bytes, "fuzz.export.json");
    if (profile) {
        const std::string written = tessra::WriteExportProfileBytes(profile.value());
        const auto again = tessra::ParseExportProfile(written, "again.export.json");
        if (!again || !(again.value() == profile.value())) {
            std::abort(); // an accepted profile must survive a save and a read
        }
    }
    return 0;
}
