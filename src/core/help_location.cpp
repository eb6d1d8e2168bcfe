#include "core/help_location.h"

#include <system_error>

namespace tessra {

std::optional<std::filesystem::path> FindHelpCollection(const std::filesystem::path& programDir) {
    if (programDir.empty()) { // not the current folder
        return std::nullopt;
    }
    const std::filesystem::path candidates[] = {
        programDir / HelpCollectionName,
        (programDir / ".." / "share" / "tessra" / HelpCollectionName).lexically_normal(),
    };
    for (const std::filesystem::path& candidate : candidates) {
        std::error_code error;
        if (std::filesystem::is_regular_file(candidate, error)) {
            return candidate;
        }
    }
    return std::nullopt;
}

std::filesystem::path ProgramDirectory() {
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : program.parent_path();
}

} // namespace tessra
