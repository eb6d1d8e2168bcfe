#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace tessra {

// Reads a typed or stored number the way every text box and file line of the
// editor does: blanks, tabs and line ends are removed first, then the longest
// leading number is taken: [sign] digits [. digits] [E [sign] digits], or
// &H hex digits, or &O octal digits (letters in either case). Text that does
// not start with a number gives 0; "12abc" gives 12.
double TextValue(std::string_view text);

// Whether TextValue finds a number at the start of the text, rather than
// giving 0 for text that does not start with one.
bool HoldsNumber(std::string_view text);

// The nearest whole number; a value exactly halfway goes to the even one.
double RoundHalfEven(double value);

// The nearest 16-bit integer (half to even), or nothing when out of range.
std::optional<std::int16_t> ToInt16(double value);

} // namespace tessra
