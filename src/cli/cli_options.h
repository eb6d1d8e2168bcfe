#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessra {

// Takes "--name VALUE" or "--name=VALUE" at args[i]; advances i past it.
std::optional<std::string> OptionValue(const std::vector<std::string>& args, std::size_t& i,
                                       std::string_view name);

} // namespace tessra
