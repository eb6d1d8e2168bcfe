#pragma once

#include "core/base/result.h"
#include "core/formats/stamp_file.h"

#include <string>

namespace tessra {

// Reads and parses a stamp file; a failure names the file and the reason.
Result<StampFile> ReadStampFile(const std::string& path);

} // namespace tessra
