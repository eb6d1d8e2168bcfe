#pragma once

#include "core/project_file.h"
#include "core/result.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tessra {

// Reads a whole file named on the command line.
Result<std::vector<std::uint8_t>> ReadInputFile(const std::string& path);

// Reads and parses a project file named on the command line.
Result<ProjectData> ReadProjectFile(const std::string& path);

// Replaces a file through a temporary one, so a failure leaves the old file whole.
Status WriteOutputFile(const std::string& path, std::span<const std::uint8_t> bytes);
Status WriteOutputFile(const std::string& path, std::string_view text);

} // namespace tessra
