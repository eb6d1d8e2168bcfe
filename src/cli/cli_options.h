#pragma once

#include "core/base/result.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessra {

// A wrong command line, as against an input refused: tessra-cli exits 2.
inline Error UsageError(std::string message) {
    return Error{std::move(message), true};
}

// Takes "--name VALUE" or "--name=VALUE" at args[i]; advances i past it.
std::optional<std::string> OptionValue(const std::vector<std::string>& args, std::size_t& i,
                                       std::string_view name);

// "Unknown option or missing value: --x", for an option no command reads.
Error UnknownOption(std::string_view arg);

// A number argument read strictly, as a build script means it: decimal digits,
// a minus sign before them where low allows it, and nothing else, from low to high. A typo ("5x",
// "2.5", "a") is a usage error naming the argument, never a number taken from
// its start.
Result<int> ArgumentNumber(std::string_view name, std::string_view text, int low, int high);

} // namespace tessra
