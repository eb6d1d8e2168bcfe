#pragma once

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

// How the number typed in a box becomes a whole number.
enum class BoxRounding {
    HalfEven,           // tile numbers and shifts: the nearest, then the range is checked
    WholePart,          // sizes that count cells: the whole part, then the range is checked
    WholePartOfInRange, // the typed value itself must lie in the range; then its whole part
};

// The whole number a box holds by TextValue, or nothing when it lies outside
// low..high (or is no finite number).
std::optional<int> BoxNumber(std::string_view text, int low, int high, BoxRounding rounding);

// The stricter rule of the boxes this program added: blanks around an optional
// sign and decimal digits, nothing else. Nothing for an empty box, letters,
// a fraction, or a number outside low..high.
std::optional<int> WholeNumberBox(std::string_view text, int low, int high);

} // namespace tessra
