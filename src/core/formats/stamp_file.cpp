#include "core/formats/stamp_file.h"

#include "core/base/message_text.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <vector>

namespace tessra {
namespace {

constexpr std::string_view Bom = "\xEF\xBB\xBF";

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// Hands out the file's lines one at a time, without their line ends; a final
// line end opens no line.
class LineReader {
  public:
    explicit LineReader(std::string_view bytes) : bytes_(bytes) {}

    std::optional<std::string_view> Next() {
        if (bytes_.empty()) {
            return std::nullopt;
        }
        const std::size_t end = bytes_.find('\n');
        std::string_view line = bytes_.substr(0, end);
        bytes_.remove_prefix(end == std::string_view::npos ? bytes_.size() : end + 1);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        ++number_;
        return line;
    }
    // The number of the line Next gave last, from 1.
    std::size_t Number() const { return number_; }

  private:
    std::string_view bytes_;
    std::size_t number_ = 0;
};

bool IsBlankLine(std::string_view line) {
    return std::all_of(line.begin(), line.end(), IsBlank);
}

std::vector<std::string_view> SplitWords(std::string_view line) {
    std::vector<std::string_view> words;
    std::size_t pos = 0;
    while (pos < line.size()) {
        while (pos < line.size() && IsBlank(line[pos])) {
            ++pos;
        }
        const std::size_t start = pos;
        while (pos < line.size() && !IsBlank(line[pos])) {
            ++pos;
        }
        if (pos > start) {
            words.push_back(line.substr(start, pos - start));
        }
    }
    return words;
}

// Plain decimal digits within low..high, nothing else.
std::optional<int> ReadNumber(std::string_view word, int low, int high) {
    int value = 0;
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (error != std::errc() || end != word.data() + word.size() || word.front() == '-' ||
        value < low || value > high) {
        return std::nullopt;
    }
    return value;
}

std::string Shown(std::string_view word) {
    constexpr std::size_t Limit = 12;
    return "\"" + std::string(word.substr(0, Limit)) + (word.size() > Limit ? "...\"" : "\"");
}

class Refusal {
  public:
    explicit Refusal(std::string_view fileName) : fileName_(fileName) {}
    Error operator()(std::size_t line, const std::string& reason) const {
        return Error{"Cannot load stamp " + Shortened(fileName_) + ": line " +
                     std::to_string(line) + " " + reason};
    }

  private:
    std::string_view fileName_;
};

std::string SizeWords(int count) {
    return std::to_string(count) + (count == 1 ? " number" : " numbers");
}

// One row line: exactly width tile numbers.
std::optional<Error> ReadRow(std::string_view line, std::size_t lineNumber, int row,
                             StampFile& stamp, const Refusal& refuse) {
    const auto words = SplitWords(line);
    if (static_cast<int>(words.size()) != stamp.Width) {
        return refuse(lineNumber, "holds " + SizeWords(static_cast<int>(words.size())) +
                                      "; each row of this stamp holds " + SizeWords(stamp.Width) +
                                      ".");
    }
    for (int i = 0; i < stamp.Width; ++i) {
        const auto tile = ReadNumber(words[i], 0, 255);
        if (!tile) {
            return refuse(lineNumber, "holds " + Shown(words[i]) +
                                          " where a tile number from 0 to 255 belongs.");
        }
        StampCell(stamp.Cells, i, row) = static_cast<std::int16_t>(*tile);
    }
    return std::nullopt;
}

} // namespace

std::string WriteStampBytes(int width, int height, const StampCells& cells) {
    std::string out(StampFileHeader);
    out += "\r\n" + std::to_string(width) + " " + std::to_string(height) + "\r\n";
    for (int j = 0; j < height; ++j) {
        for (int i = 0; i < width; ++i) {
            out += (i > 0 ? " " : "") + std::to_string(StampCell(cells, i, j));
        }
        out += "\r\n";
    }
    return out;
}

// Read line by line, stopping at the first line that cannot belong to a
// stamp, so that a huge file is refused as soon as it goes wrong.
Result<StampFile> ParseStamp(std::string_view bytes, std::string_view fileName) {
    const Refusal refuse(fileName);
    if (bytes.substr(0, Bom.size()) == Bom) {
        bytes.remove_prefix(Bom.size());
    }
    LineReader lines(bytes);
    const auto first = lines.Next();
    const auto header = first ? SplitWords(*first) : std::vector<std::string_view>{};
    if (header.size() != 2 || header[0] != "TESSRA-STAMP" || header[1] != "1") {
        return refuse(1, "must read \"" + std::string(StampFileHeader) + "\".");
    }
    StampFile stamp;
    const auto second = lines.Next();
    const auto size = second ? SplitWords(*second) : std::vector<std::string_view>{};
    const auto width = size.size() == 2 ? ReadNumber(size[0], 2, StampMaxSize) : std::nullopt;
    const auto height = size.size() == 2 ? ReadNumber(size[1], 2, StampMaxSize) : std::nullopt;
    if (!width || !height) {
        return refuse(2, "must hold the width and height, two whole numbers from 2 to 8.");
    }
    stamp.Width = *width;
    stamp.Height = *height;
    for (int j = 0; j < stamp.Height; ++j) {
        const auto row = lines.Next();
        if (!row || IsBlankLine(*row)) {
            return refuse(3 + static_cast<std::size_t>(j),
                          "is missing; the stamp has " + std::to_string(stamp.Height) + " rows.");
        }
        if (auto error = ReadRow(*row, lines.Number(), j, stamp, refuse)) {
            return *error;
        }
    }
    // Empty lines may follow the last row, and nothing else.
    while (const auto line = lines.Next()) {
        if (!IsBlankLine(*line)) {
            return refuse(lines.Number(), "follows the last row; the file should end there.");
        }
    }
    return stamp;
}

std::string WriteBuilderStamp(const StampBuilderModel& builder, const EditorState& state) {
    return WriteStampBytes(builder.SizeIndexX + 2, builder.SizeIndexY + 2, state.StampBuilderData);
}

void LoadBuilderStamp(const StampFile& stamp, StampBuilderModel& builder, EditorState& state) {
    builder.SizeIndexX = stamp.Width - 2;
    builder.SizeIndexY = stamp.Height - 2;
    for (int j = 0; j < stamp.Height; ++j) {
        for (int i = 0; i < stamp.Width; ++i) {
            StampCell(state.StampBuilderData, i, j) = StampCell(stamp.Cells, i, j);
        }
    }
}

} // namespace tessra
