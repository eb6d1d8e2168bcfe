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

std::string Printable(std::string_view text) {
    constexpr char Digits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[i + k]); };
        const unsigned lead = byte(0);
        const std::size_t length = lead < 0x80             ? 1
                                   : (lead & 0xE0) == 0xC0 ? 2
                                   : (lead & 0xF0) == 0xE0 ? 3
                                   : (lead & 0xF8) == 0xF0 ? 4
                                                           : 0;
        bool shown = length > 0 && i + length <= text.size();
        char32_t code = length == 1 ? lead : lead & (0x7F >> length);
        for (std::size_t k = 1; shown && k < length; ++k) {
            shown = (byte(k) & 0xC0) == 0x80;
            code = code << 6 | (byte(k) & 0x3F);
        }
        constexpr char32_t Least[] = {0, 0, 0x80, 0x800, 0x10000}; // shorter forms are refused
        shown = shown && code >= Least[length] && code >= 0x20 && code != 0x7F &&
                !(code >= 0x80 && code < 0xA0) && !(code >= 0xD800 && code < 0xE000) &&
                code <= 0x10FFFF;
        if (shown) {
            out.append(text.substr(i, length));
            i += length;
        } else {
            out += "\\x";
            out += Digits[lead >> 4];
            out += Digits[lead & 15];
            ++i;
        }
    }
    return out;
}

bool IsUtf16Text(std::string_view bytes) {
    if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF")) {
        return true;
    }
    return bytes.size() >= 2 && (bytes[0] == '\0') != (bytes[1] == '\0');
}

std::string MoreThanFirstFew(std::size_t count, std::string_view things) {
    if (count <= FirstFewCount) {
        return {};
    }
    return "and " + std::to_string(count - FirstFewCount) + " " + std::string(things);
}

} // namespace tessra
