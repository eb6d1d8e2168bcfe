#include "core/formats/project_file.h"

#include "core/base/message_text.h"
#include "core/base/number_text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstring>

namespace tessra {

namespace {

constexpr std::string_view Utf8Bom = "\xEF\xBB\xBF";

// " n " and CRLF for every tile number, built once; a cell line is the hot path.
struct CellLines {
    std::array<std::array<char, 8>, 256> text{};
    std::array<std::uint8_t, 256> size{};
};

void AppendNumberLine(std::string& out, std::size_t number) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, number).ptr;
    out += ' ';
    out.append(digits, end);
    out += " \r\n";
}

const CellLines& CellLineTable() {
    static const CellLines table = [] {
        CellLines lines;
        for (std::size_t n = 0; n < 256; ++n) {
            std::string line;
            AppendNumberLine(line, n);
            std::memcpy(lines.text[n].data(), line.data(), line.size());
            lines.size[n] = static_cast<std::uint8_t>(line.size());
        }
        return lines;
    }();
    return table;
}

// Hands out the file's lines, without their CR LF or LF, and counts them.
class LineReader {
  public:
    explicit LineReader(std::string_view bytes) : bytes_(bytes) {}

    bool Next(std::string_view& line) {
        if (pos_ >= bytes_.size()) {
            return false;
        }
        const char* start = bytes_.data() + pos_;
        const auto* newline =
            static_cast<const char*>(std::memchr(start, '\n', bytes_.size() - pos_));
        const std::size_t length =
            newline ? static_cast<std::size_t>(newline - start) : bytes_.size() - pos_;
        line = std::string_view(start, length);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        pos_ += length + 1;
        ++lineNumber_;
        ended_ = newline != nullptr;
        return true;
    }
    std::size_t LineNumber() const { return lineNumber_; }
    // Whether the last line handed out had its line end.
    bool Ended() const { return ended_; }

  private:
    std::string_view bytes_;
    std::size_t pos_ = 0;
    std::size_t lineNumber_ = 0;
    bool ended_ = true;
};

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    while (!text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }
    return text;
}

// The cell lines this program writes, " n ", read without the general rule.
bool ReadPlainCell(std::string_view line, double& value) {
    const std::string_view text = TrimBlanks(line);
    if (text.empty() || text.size() > 3) {
        return false;
    }
    int number = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
        number = number * 10 + (c - '0');
    }
    value = number;
    return true;
}

Error Refusal(std::string_view fileName, const std::string& reason) {
    return Error{"Cannot open " + Shortened(fileName) + ": " + reason};
}

// Every writer ends a cell line with a blank after its number: a last line
// without its line end is whole only if it has that blank. Anything less was
// cut, and would read as another number (" 25" for " 255 ").
bool CutInsideNumber(std::string_view line) {
    return line.empty() || line.back() != ' ' || !HoldsNumber(line);
}

Error CutShort(std::string_view fileName, const LineReader& lines) {
    if (lines.LineNumber() == 0) {
        return Refusal(fileName, "the file is empty.");
    }
    return Refusal(fileName, "the file ends at line " + std::to_string(lines.LineNumber()) +
                                 ", before its last cell line.");
}

std::string Quoted(std::string_view text) {
    constexpr std::size_t Shown = 24;
    text = TrimBlanks(text);
    return "\"" + std::string(text.substr(0, Shown)) + (text.size() > Shown ? "...\"" : "\"");
}

} // namespace

std::string WriteProjectBytes(const std::vector<std::string>& tilesets, const MapGrid& map) {
    const CellLines& cells = CellLineTable();
    std::string out;
    std::size_t size = 32 + CellCount * 7;
    for (const std::string& path : tilesets) {
        size += path.size() + 2;
    }
    out.reserve(size);

    AppendNumberLine(out, tilesets.size());
    for (const std::string& path : tilesets) {
        out += path;
        out += "\r\n";
    }
    for (int x = 0; x < MapSize; ++x) {
        for (int y = 0; y < MapSize; ++y) {
            const std::uint8_t tile = map(x, y);
            out.append(cells.text[tile].data(), cells.size[tile]);
        }
    }
    return out;
}

Result<ProjectData> ParseProject(std::string_view bytes, std::string_view fileName) {
    // Text editors put a byte order mark at the start of UTF-8 files.
    if (bytes.starts_with(Utf8Bom)) {
        bytes.remove_prefix(Utf8Bom.size());
    }
    LineReader lines(bytes);
    std::string_view line;
    if (!lines.Next(line)) {
        return CutShort(fileName, lines);
    }
    const double count = TextValue(line);
    if (!HoldsNumber(line) || !(count >= 0) || count != std::floor(count)) {
        return Refusal(fileName,
                       "it is not a TESSRA project file (its line 1 must hold the number of "
                       "tilesets, a whole number 0 or more).");
    }
    // A count beyond the file's length runs into its end, which is reported there.
    const auto tilesetCount =
        static_cast<std::size_t>(std::min(count, static_cast<double>(bytes.size()) + 1));

    ProjectData project;
    for (std::size_t i = 0; i < tilesetCount; ++i) {
        if (!lines.Next(line)) {
            return CutShort(fileName, lines);
        }
        project.Tilesets.emplace_back(TrimBlanks(line));
    }
    for (int x = 0; x < MapSize; ++x) {
        for (int y = 0; y < MapSize; ++y) {
            if (!lines.Next(line)) {
                return CutShort(fileName, lines);
            }
            const bool lastCell = x == MapSize - 1 && y == MapSize - 1;
            if (lastCell && !lines.Ended() && CutInsideNumber(line)) {
                return Refusal(fileName, "the file ends inside line " +
                                             std::to_string(lines.LineNumber()) +
                                             ", its last cell line: it was cut short.");
            }
            double value = 0;
            if (!ReadPlainCell(line, value)) {
                value = RoundHalfEven(TextValue(line));
            }
            if (!(value >= 0 && value <= 255)) {
                return Refusal(fileName, "line " + std::to_string(lines.LineNumber()) +
                                             " holds the cell value " + Quoted(line) +
                                             "; a cell holds 0 to 255.");
            }
            project.MapData(x, y) = static_cast<std::uint8_t>(value);
        }
    }
    return project;
}

} // namespace tessra
