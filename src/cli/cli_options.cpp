#include "cli/cli_options.h"

#include "core/base/message_text.h"

#include <charconv>

namespace tessra {

std::optional<std::string> OptionValue(const std::vector<std::string>& args, std::size_t& i,
                                       std::string_view name) {
    const std::string& arg = args[i];
    if (arg == name && i + 1 < args.size()) {
        return args[++i];
    }
    if (arg.size() > name.size() && arg.starts_with(name) && arg[name.size()] == '=') {
        return arg.substr(name.size() + 1);
    }
    return std::nullopt;
}

Error UnknownOption(std::string_view arg) {
    return UsageError("Unknown option or missing value: " + Shortened(arg));
}

Result<int> ArgumentNumber(std::string_view name, std::string_view text, int low, int high) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size() || value < low ||
        value > high) {
        return UsageError(std::string(name) + " must be a whole number from " +
                          std::to_string(low) + " to " + std::to_string(high) + ", not '" +
                          Shortened(text) + "'");
    }
    return value;
}

} // namespace tessra
