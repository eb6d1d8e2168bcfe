#pragma once

#include "core/base/result.h"

#include <cstddef>
#include <iosfwd>
#include <limits>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tessra {

inline constexpr std::size_t AnyNumberOfArguments = std::numeric_limits<std::size_t>::max();

// One command of tessra-cli. The dispatcher checks the argument count and
// answers --help; run receives the arguments after the command's name and
// reports a refusal or file failure as an Error.
struct Subcommand {
    std::string_view name;
    std::string_view arguments; // e.g. "MAP.tessra A B OUT.tessra"
    std::string_view summary;   // one line for the tool's own help
    std::string_view help;      // the rest of the command's --help
    std::size_t minArguments;
    std::size_t maxArguments;
    Status (*run)(const std::vector<std::string>& args, std::ostream& out);
};

// Every command, in the order the tool's help lists them.
std::span<const Subcommand> Subcommands();

} // namespace tessra
