#pragma once

#include "core/base/result.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace tessra {

// Reads a whole file, or says why it cannot, naming the file. The editor and
// tessra-cli pass the platform's reader; tests pass fakes.
using FileReader = std::function<Result<std::vector<std::uint8_t>>(const std::string& path)>;

} // namespace tessra
