#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace tessra {

inline constexpr int ExitSuccess = 0;
inline constexpr int ExitRefused = 1; // input refused or a file failed
inline constexpr int ExitUsage = 2;

// Runs tessra-cli with its arguments (without the program name). Results go to
// out, messages to err; the return value is the exit status.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace tessra
