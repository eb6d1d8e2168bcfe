#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tessra {

// A message quotes at most this many bytes of a value or path, so that a huge
// one cannot make a huge message.
inline constexpr std::size_t QuotedLimit = 100;

// The text itself when it is short enough; else its first QuotedLimit bytes,
// cut back to the start of a UTF-8 character, followed by "...".
std::string Shortened(std::string_view text);

// The text as a terminal can show it: every byte that is not part of a
// printable UTF-8 character (a control character, a broken sequence) is
// written as \xHH, so that a file's bytes quoted in a message cannot steer
// the terminal.
std::string Printable(std::string_view text);

// Whether the bytes look like UTF-16 text: a byte order mark, or ASCII text
// whose every other byte is zero. The readers take UTF-8 only and say so.
bool IsUtf16Text(std::string_view bytes);
inline constexpr std::string_view Utf16Refusal =
    "it is UTF-16 text; TESSRA reads UTF-8 (save it as UTF-8)";

// A long list says no more than its first few items, then how many more
// there are: a project may list a million missing files.
inline constexpr std::size_t FirstFewCount = 10;
// "and N more" (`things`) for a list of `count` items; empty when all are told.
std::string MoreThanFirstFew(std::size_t count, std::string_view things = "more");

} // namespace tessra
