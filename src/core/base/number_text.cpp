#include "core/base/number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace tessra {

namespace {

bool IsRemoved(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

int DigitValue(char c) {
    if (IsDigit(c)) {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// Walks the text as if every blank, tab and line end had been removed.
class Cursor {
  public:
    explicit Cursor(std::string_view text) : text_(text) { Skip(); }

    char Peek() const { return pos_ < text_.size() ? text_[pos_] : '\0'; }
    void Next() {
        ++pos_;
        Skip();
    }
    bool Take(char lower) {
        if ((Peek() | 0x20) != lower) {
            return false;
        }
        Next();
        return true;
    }

  private:
    void Skip() {
        while (pos_ < text_.size() && IsRemoved(text_[pos_])) {
            ++pos_;
        }
    }

    std::string_view text_;
    std::size_t pos_ = 0;
};

double ReadRadix(Cursor cursor, int radix) {
    double value = 0;
    for (int digit = DigitValue(cursor.Peek()); digit >= 0 && digit < radix;
         digit = DigitValue(cursor.Peek())) {
        value = value * radix + digit;
        cursor.Next();
    }
    return value;
}

// The digits of a decimal number, gathered without blanks for from_chars.
struct DecimalText {
    std::string text; // short numbers stay in the string's own buffer
    int integerDigits = 0;
    int fractionDigits = 0;
    int leadPosition = 0; // decimal position of the first significant digit
    long exponent = 0;
};

void ReadExponent(Cursor& cursor, DecimalText& number) {
    if ((cursor.Peek() | 0x20) != 'e') {
        return;
    }
    Cursor look = cursor;
    look.Next();
    const bool negative = look.Peek() == '-';
    if (look.Peek() == '+' || negative) {
        look.Next();
    }
    if (!IsDigit(look.Peek())) {
        return; // "1e" and "1e+" are the number 1 followed by text
    }
    number.text += negative ? "e-" : "e";
    for (; IsDigit(look.Peek()); look.Next()) {
        number.text += look.Peek();
        number.exponent = std::min(number.exponent * 10 + (look.Peek() - '0'), 100000L);
    }
    number.exponent = negative ? -number.exponent : number.exponent;
    cursor = look;
}

void ReadDigits(Cursor& cursor, DecimalText& number) {
    bool significant = false;
    for (; IsDigit(cursor.Peek()); cursor.Next()) {
        significant = significant || cursor.Peek() != '0';
        number.leadPosition += significant ? 1 : 0;
        number.text += cursor.Peek();
        ++number.integerDigits;
    }
    if (cursor.Peek() != '.') {
        return;
    }
    cursor.Next();
    if (!IsDigit(cursor.Peek())) {
        return;
    }
    number.text += '.';
    for (; IsDigit(cursor.Peek()); cursor.Next()) {
        if (!significant && cursor.Peek() == '0') {
            --number.leadPosition;
        }
        significant = significant || cursor.Peek() != '0';
        number.text += cursor.Peek();
        ++number.fractionDigits;
    }
}

double ReadDecimal(Cursor cursor) {
    const bool negative = cursor.Peek() == '-';
    if (negative || cursor.Peek() == '+') {
        cursor.Next();
    }
    DecimalText number;
    number.text = "0"; // so that ".5" reads as "0.5"
    ReadDigits(cursor, number);
    if (number.integerDigits + number.fractionDigits == 0) {
        return 0;
    }
    ReadExponent(cursor, number);

    double value = 0;
    const char* first = number.text.data();
    const char* last = first + number.text.size();
    const auto [end, error] = std::from_chars(first, last, value);
    if (error == std::errc::result_out_of_range) {
        const bool overflow = number.leadPosition + number.exponent > 0;
        value = overflow ? std::numeric_limits<double>::infinity() : 0.0;
    }
    return negative ? -value : value;
}

} // namespace

double TextValue(std::string_view text) {
    Cursor cursor(text);
    if (cursor.Peek() == '&') {
        Cursor radix = cursor;
        radix.Next();
        if (radix.Take('h')) {
            return ReadRadix(radix, 16);
        }
        if (radix.Take('o')) {
            return ReadRadix(radix, 8);
        }
        return 0;
    }
    return ReadDecimal(cursor);
}

bool HoldsNumber(std::string_view text) {
    Cursor cursor(text);
    if (cursor.Peek() == '&') {
        cursor.Next();
        const int radix = cursor.Take('h') ? 16 : (cursor.Take('o') ? 8 : 0);
        const int digit = DigitValue(cursor.Peek());
        return digit >= 0 && digit < radix;
    }
    if (cursor.Peek() == '-' || cursor.Peek() == '+') {
        cursor.Next();
    }
    if (cursor.Peek() == '.') {
        cursor.Next();
    }
    return IsDigit(cursor.Peek());
}

double RoundHalfEven(double value) {
    double whole = 0;
    const double fraction = std::modf(value, &whole); // exact, whatever the rounding mode
    const double away = std::copysign(1.0, value);
    if (std::fabs(fraction) > 0.5 || (std::fabs(fraction) == 0.5 && std::fmod(whole, 2.0) != 0)) {
        whole += away;
    }
    return whole;
}

std::optional<int> BoxNumber(std::string_view text, int low, int high, BoxRounding rounding) {
    const double value = TextValue(text);
    if (rounding == BoxRounding::WholePartOfInRange && !(value >= low && value <= high)) {
        return std::nullopt;
    }
    const double whole =
        rounding == BoxRounding::HalfEven ? RoundHalfEven(value) : std::trunc(value);
    if (!(whole >= low && whole <= high)) {
        return std::nullopt;
    }
    return static_cast<int>(whole);
}

std::optional<int> WholeNumberBox(std::string_view text, int low, int high) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && blank(text.back())) {
        text.remove_suffix(1);
    }
    if (text.starts_with('+') && !text.starts_with("+-")) { // from_chars takes a minus only
        text.remove_prefix(1);
    }
    long long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < low ||
        value > high) {
        return std::nullopt;
    }
    return static_cast<int>(value);
}

} // namespace tessra
