#pragma once

#include <filesystem>
#include <optional>

namespace tessra {

inline constexpr const char* HelpCollectionName = "tessra.qhc";

// The help collection beside the program (a build folder, a program unpacked
// in one folder), else where an install puts it: share/tessra beside the
// program's bin folder, whatever the prefix. Nothing when neither is there.
std::optional<std::filesystem::path> FindHelpCollection(const std::filesystem::path& programDir);

// The folder of the running program with links resolved, as the system knows
// it (/proc/self/exe), so that a program found through PATH finds its files.
// Empty when the system cannot tell.
std::filesystem::path ProgramDirectory();

} // namespace tessra
