// Parses any bytes as a project file and writes back what it accepts.
#include "core/formats/project_file.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto project = tessra::ParseProject(bytes, "fuzz.tessra");
    if (project) {
        const std::string written =
            tessra::WriteProjectBytes(project.value().Tilesets, project.value().MapData);
        const auto again = tessra::ParseProject(written, "again.tessra");
        // An accepted file must survive a save and open: its tilesets and its cells.
        if (!again || again.value().Tilesets != project.value().Tilesets ||
            !(again.value().MapData == project.value().MapData)) {
            std::abort();
        }
    }
    return 0;
}
