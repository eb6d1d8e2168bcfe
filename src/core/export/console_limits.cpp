#include "core/export/console_limits.h"

#include <algorithm>
#include <string>

namespace tessra {

namespace {

// In ExportHardware order, from snes.
constexpr std::array<ConsoleLimits, 6> Consoles = {{
    {"snes", 1024, 8, true, {4, 2, 8}, 5},
    {"gba", 1024, 16, true, {4, 8, 0}, 5},
    {"md", 2048, 4, true, {4, 0, 0}, 3},
    {"gbc", 512, 8, true, {2, 0, 0}, 5},
    {"nes", 256, 4, false, {2, 0, 0}, 0},
    {"gb", 256, 1, false, {2, 0, 0}, 0},
}};

} // namespace

const ConsoleLimits& ConsoleLimitsOf(ExportHardware hardware) {
    return Consoles[static_cast<std::size_t>(hardware) - 1];
}

std::span<const int> ConsoleDepths(const ConsoleLimits& console) {
    const auto end = std::find(console.depths.begin(), console.depths.end(), 0);
    return {console.depths.begin(), end};
}

std::string ConsoleDepthList(const ConsoleLimits& console) {
    const auto depths = ConsoleDepths(console);
    std::string list;
    std::size_t listed = 0;
    for (const int depth : {2, 4, 8}) {
        if (std::find(depths.begin(), depths.end(), depth) != depths.end()) {
            ++listed;
            list += (listed == 1 ? "" : (listed == depths.size() ? " or " : ", ")) +
                    std::to_string(depth);
        }
    }
    return list;
}

int SubPaletteCount(const ConsoleLimits& console, int bpp) {
    return bpp == 8 ? 1 : console.paletteLimit;
}

} // namespace tessra
