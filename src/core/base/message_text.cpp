#include "core/base/message_text.h"

namespace tessra {

std::string Shortened(std::string_view text) {
    if (text.size() <= QuotedLimit) {
        return std::string(text);
    }
    std::size_t end = QuotedLimit;
    // Continuation bytes are 10xxxxxx; a cut before one splits a character.
    const std::size_t earliest = end - 3;
    while (end > earliest && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) {
        --end;
    }
    return std::string(text.substr(0, end)) + "...";
}

std::string MoreThanFirstFew(std::size_t count, std::string_view things) {
    if (count <= FirstFewCount) {
        return {};
    }
    return "and " + std::to_string(count - FirstFewCount) + " " + std::string(things);
}

} // namespace tessra
