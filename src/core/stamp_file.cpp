#include "core/stamp_file.h"

#include <charconv>
#include <optional>
#include <vector>

namespace tessra {
namespace {

constexpr std::string_view Bom = "\xEF\xBB\xBF";

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// The file's lines without their line ends; a final line end opens no line.
std::vector<std::string_view> SplitLines(std::string_view bytes) {
    std::vector<std::string_view> lines;
    while (!bytes.empty()) {
        const std::size_t end = bytes.find('\n');
        std::string_view line = bytes.substr(0, end);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        lines.push_back(line);
        bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
    }
    return lines;
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
        return Error{"Cannot load stamp " + std::string(fileName_) + ": line " +
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

Result<StampFile> ParseStamp(std::string_view bytes, std::string_view fileName) {
    const Refusal refuse(fileName);
    if (bytes.substr(0, Bom.size()) == Bom) {
        bytes.remove_prefix(Bom.size());
    }
    std::vector<std::string_view> lines = SplitLines(bytes);
    while (!lines.empty() && SplitWords(lines.back()).empty()) {
        lines.pop_back();
    }
    const auto header = lines.empty() ? std::vector<std::string_view>{} : SplitWords(lines[0]);
    if (header.size() != 2 || header[0] != "TESSRA-STAMP" || header[1] != "1") {
        return refuse(1, "must read \"" + std::string(StampFileHeader) + "\".");
    }
    StampFile stamp;
    const auto size = lines.size() > 1 ? SplitWords(lines[1]) : std::vector<std::string_view>{};
    const auto width = size.size() == 2 ? ReadNumber(size[0], 2, StampMaxSize) : std::nullopt;
    const auto height = size.size() == 2 ? ReadNumber(size[1], 2, StampMaxSize) : std::nullopt;
    if (!width || !height) {
        return refuse(2, "must hold the width and height, two whole numbers from 2 to 8.");
    }
    stamp.Width = *width;
    stamp.Height = *height;
    for (int j = 0; j < stamp.Height; ++j) {
        const std::size_t index = 2 + static_cast<std::size_t>(j);
        if (index >= lines.size()) {
            return refuse(index + 1,
                          "is missing; the stamp has " + std::to_string(stamp.Height) + " rows.");
        }
        if (auto error = ReadRow(lines[index], index + 1, j, stamp, refuse)) {
            return *error;
        }
    }
    for (std::size_t index = 2 + stamp.Height; index < lines.size(); ++index) {
        if (!SplitWords(lines[index]).empty()) {
            return refuse(index + 1, "follows the last row; the file should end there.");
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
