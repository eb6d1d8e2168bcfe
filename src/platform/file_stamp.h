#pragma once

#include "core/result.h"
#include "core/stamp_file.h"

#include <string>

namespace tessra {

// Reads and parses a stamp file; a failure names the file and the reason.
Result<StampFile> ReadStampFile(const std::string& path);

} // namespace tessra
