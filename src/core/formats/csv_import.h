#pragma once

#include "core/base/file_reader.h"
#include "core/base/message_text.h"
#include "core/base/result.h"
#include "core/model/map_grid.h"

#include <string>
#include <string_view>

namespace tessra {

inline constexpr std::string_view IllegalXSizeMessage = "Illegal X size";
inline constexpr std::string_view IllegalYSizeMessage = "Illegal Y size";
inline constexpr std::string_view NoCsvFileMessage = "No CSV file specified";

// For a CSV path that cannot be opened or names an empty file.
inline std::string CsvFileNotFoundMessage(std::string_view path) {
    return "File not found: " + Shortened(path);
}

// The width and height of an import, in cells (1..255 each).
struct CsvSize {
    int X = 0;
    int Y = 0;
};

// Reads the two size boxes: each must be 1..255, a fraction counting as its
// whole part. The X box is checked first.
Result<CsvSize> CheckCsvSize(std::string_view xText, std::string_view yText);

// Fills a cleared map row by row from the file's values: commas and line ends
// separate values, blanks are ignored and an empty value reads 0. A 0 is passed
// over in favour of the value after it; value v becomes tile v + 1, and a cell
// whose v + 1 lies outside 0..255 stays 0. The import is refused, naming the
// line and value, when a value is not a whole number, does not fit 16 bits, or
// is missing where a cell needs one.
Result<MapGrid> ImportCsv(std::string_view bytes, int X, int Y);

// A finished import: the size typed and the map it made.
struct CsvImport {
    CsvSize size;
    MapGrid map;
};

// The whole import as the window and tessra-cli run it, each check refusing
// before the next is made: the size boxes, the file's name, the file (read
// with `read`, which gives no bytes for a file it cannot open: that and an
// empty file are "File not found"; its refusals pass on as they are), then
// its values, a refusal of which names the file.
Result<CsvImport> ImportCsvFile(std::string_view xText, std::string_view yText,
                                const std::string& path, const FileReader& read);

} // namespace tessra
