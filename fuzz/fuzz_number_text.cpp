// Reads any text as a number, as the editor's text boxes do.
#include "core/base/number_text.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const double value = tessra::TextValue(text);
    (void)tessra::RoundHalfEven(value);
    for (const auto rounding : {tessra::BoxRounding::HalfEven, tessra::BoxRounding::WholePart,
                                tessra::BoxRounding::WholePartOfInRange}) {
        (void)tessra::BoxNumber(text, INT16_MIN, INT16_MAX, rounding);
    }
    return 0;
}
