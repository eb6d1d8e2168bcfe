#include "core/formats/csv_import.h"

#include "core/base/message_text.h"
#include "core/base/number_text.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace tessra {

namespace {

// One value of the stream and where it stands in the file (both from 1).
struct CsvValue {
    std::string_view text;
    std::size_t line = 0;
    std::size_t index = 0;
};

// Splits the file into values: commas and line ends (CR LF, LF or CR) both end
// one. A comma at the very end of the data still ends an (empty) value.
class CsvStream {
  public:
    explicit CsvStream(std::string_view bytes) : bytes_(bytes) {}

    bool Next(CsvValue& value) {
        if (pos_ >= bytes_.size() && !afterComma_) {
            return false;
        }
        std::size_t end = pos_;
        while (end < bytes_.size() && bytes_[end] != ',' && bytes_[end] != '\r' &&
               bytes_[end] != '\n') {
            ++end;
        }
        value = {bytes_.substr(pos_, end - pos_), line_, index_};
        afterComma_ = end < bytes_.size() && bytes_[end] == ',';
        pos_ = end;
        if (afterComma_) {
            ++pos_;
            ++index_;
        } else if (pos_ < bytes_.size()) {
            pos_ += bytes_.compare(pos_, 2, "\r\n") == 0 ? 2 : 1;
            ++line_;
            index_ = 1;
        }
        return true;
    }

  private:
    std::string_view bytes_;
    std::size_t pos_ = 0;
    std::size_t line_ = 1;
    std::size_t index_ = 1;
    bool afterComma_ = false;
};

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::string Where(const CsvValue& value) {
    return "Line " + std::to_string(value.line) + ", value " + std::to_string(value.index) + ": ";
}

// A value as a 16-bit integer: [sign] digits, or nothing at all for 0.
Result<int> ReadValue(const CsvValue& value) {
    std::string_view text = TrimBlanks(value.text);
    if (text.empty()) {
        return 0;
    }
    const bool negative = text.front() == '-';
    std::string_view digits = text;
    if (negative || text.front() == '+') {
        digits.remove_prefix(1);
    }
    long number = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9') {
            return Error{Where(value) + "\"" + Shortened(text) + "\" is not a whole number."};
        }
        number = std::min(number * 10 + (c - '0'), 1000000L);
    }
    if (digits.empty()) {
        return Error{Where(value) + "\"" + Shortened(text) + "\" is not a whole number."};
    }
    number = negative ? -number : number;
    if (number < INT16_MIN || number > INT16_MAX) {
        return Error{Where(value) + Shortened(text) + " does not fit a 16-bit integer."};
    }
    return static_cast<int>(number);
}

Error RunsOut(const CsvValue& last, bool anyRead, int x, int y) {
    const std::string cell = "cell (" + std::to_string(x) + ", " + std::to_string(y) + ")";
    if (!anyRead) {
        return Error{"The file holds no values, but " + cell + " needs one."};
    }
    return Error{"The file ends after line " + std::to_string(last.line) + ", value " +
                 std::to_string(last.index) + ", but " + cell + " needs a value."};
}

Result<int> CountFromBox(std::string_view text, std::string_view refusal) {
    const std::optional<int> count = BoxNumber(text, 1, 255, BoxRounding::WholePartOfInRange);
    if (!count) {
        return Error{std::string(refusal)};
    }
    return *count;
}

} // namespace

Result<CsvSize> CheckCsvSize(std::string_view xText, std::string_view yText) {
    const Result<int> x = CountFromBox(xText, IllegalXSizeMessage);
    if (!x) {
        return x;
    }
    const Result<int> y = CountFromBox(yText, IllegalYSizeMessage);
    if (!y) {
        return y;
    }
    return CsvSize{x.value(), y.value()};
}

Result<MapGrid> ImportCsv(std::string_view bytes, int X, int Y) {
    if (X < 1 || X > 255) {
        return Error{std::string(IllegalXSizeMessage)};
    }
    if (Y < 1 || Y > 255) {
        return Error{std::string(IllegalYSizeMessage)};
    }
    CsvStream stream(bytes);
    CsvValue value;
    bool anyRead = false;
    MapGrid map;
    for (int y = 0; y < Y; ++y) {
        for (int x = 0; x < X; ++x) {
            if (!stream.Next(value)) {
                return RunsOut(value, anyRead, x, y);
            }
            anyRead = true;
            Result<int> n = ReadValue(value);
            // A 0 gives way to the value after it; at the end of the data it stands.
            if (n && n.value() == 0 && stream.Next(value)) {
                n = ReadValue(value);
            }
            if (!n) {
                return n;
            }
            const int tile = n.value() + 1;
            map(x, y) = tile >= 0 && tile <= 255 ? static_cast<std::uint8_t>(tile) : 0;
        }
    }
    return map;
}

Result<CsvImport> ImportCsvFile(std::string_view xText, std::string_view yText,
                                const std::string& path, const FileReader& read) {
    const Result<CsvSize> size = CheckCsvSize(xText, yText);
    if (!size) {
        return size;
    }
    if (path.empty()) {
        return Error{std::string(NoCsvFileMessage)};
    }
    const Result<std::vector<std::uint8_t>> bytes = read(path);
    if (!bytes) {
        return Error{bytes.message()};
    }
    if (bytes.value().empty()) {
        return Error{CsvFileNotFoundMessage(path)};
    }
    const std::vector<std::uint8_t>& data = bytes.value();
    const std::string_view text(reinterpret_cast<const char*>(data.data()), data.size());
    Result<MapGrid> map = ImportCsv(text, size.value().X, size.value().Y);
    if (!map) {
        return Error{Shortened(path) + ": " + map.message()};
    }
    return CsvImport{size.value(), std::move(map).value()};
}

} // namespace tessra
