#include "core/edit/cell_block_text.h"

#include "core/base/message_text.h"
#include "core/base/number_text.h"

#include <algorithm>

namespace tessra {

namespace {

constexpr std::size_t HeaderBytes = 4;
constexpr std::string_view NotCells = "The clipboard holds no block of tile numbers: ";

void Put16(std::string& out, int value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>(value >> 8 & 0xFF);
}

int Get16(std::string_view bytes, std::size_t at) {
    return static_cast<unsigned char>(bytes[at]) | static_cast<unsigned char>(bytes[at + 1]) << 8;
}

bool FitsTheMap(int width, int height) {
    return width >= 1 && width <= MapSize && height >= 1 && height <= MapSize;
}

// The next line of the text, without its line end (LF, CR LF or CR).
std::string_view TakeLine(std::string_view& text) {
    const std::size_t end = std::min(text.find_first_of("\r\n"), text.size());
    const std::string_view line = text.substr(0, end);
    text.remove_prefix(end);
    if (text.starts_with("\r\n")) {
        text.remove_prefix(2);
    } else if (!text.empty()) {
        text.remove_prefix(1);
    }
    return line;
}

bool IsBlankLine(std::string_view line) {
    return line.find_first_not_of(" \t") == std::string_view::npos;
}

} // namespace

std::string CellBlockBytes(const CellBlock& block) {
    std::string bytes;
    bytes.reserve(HeaderBytes + block.cells.size());
    Put16(bytes, block.width);
    Put16(bytes, block.height);
    bytes.append(block.cells.begin(), block.cells.end());
    return bytes;
}

Result<CellBlock> ReadCellBlockBytes(std::string_view bytes) {
    if (bytes.size() < HeaderBytes) {
        return Error{std::string(NotCells) + "it is too short."};
    }
    const int width = Get16(bytes, 0);
    const int height = Get16(bytes, 2);
    if (!FitsTheMap(width, height) ||
        bytes.size() != HeaderBytes + static_cast<std::size_t>(width) * height) {
        return Error{std::string(NotCells) + "its size does not match its cells."};
    }
    return CellBlock{width, height, {bytes.begin() + HeaderBytes, bytes.end()}};
}

std::string CellBlockCsv(const CellBlock& block) {
    std::string text;
    for (int j = 0; j < block.height; ++j) {
        for (int i = 0; i < block.width; ++i) {
            text += std::to_string(block(i, j));
            text += i + 1 < block.width ? ',' : '\n';
        }
    }
    return text;
}

Result<CellBlock> ReadCellBlockCsv(std::string_view text) {
    CellBlock block;
    const char separator = text.find(',') != std::string_view::npos ? ',' : '\t';
    for (int lineNumber = 1; !text.empty(); ++lineNumber) {
        std::string_view line = TakeLine(text);
        if (IsBlankLine(line)) {
            continue;
        }
        const auto where = [&](int value) {
            return std::string(NotCells) + "line " + std::to_string(lineNumber) + ", value " +
                   std::to_string(value);
        };
        if (line.ends_with(separator)) {
            line.remove_suffix(1);
        }
        int count = 0;
        for (std::size_t start = 0;; ++count) {
            const std::size_t end = std::min(line.find(separator, start), line.size());
            const std::string_view value = line.substr(start, end - start);
            const std::optional<int> tile = WholeNumberBox(value, 0, TileCount - 1);
            if (!tile) {
                return Error{where(count + 1) + " (\"" + Shortened(value) +
                             "\") is not a tile number from 0 to 255."};
            }
            if (count == MapSize) {
                return Error{std::string(NotCells) + "it is larger than the map."};
            }
            block.cells.push_back(static_cast<std::uint8_t>(*tile));
            if (end == line.size()) {
                ++count;
                break;
            }
            start = end + 1;
        }
        if (block.height == 0) {
            block.width = count;
        }
        if (count != block.width) {
            return Error{std::string(NotCells) + "line " + std::to_string(lineNumber) + " holds " +
                         std::to_string(count) + " numbers, the first " +
                         std::to_string(block.width) + "."};
        }
        if (++block.height > MapSize) {
            return Error{std::string(NotCells) + "it is larger than the map."};
        }
    }
    if (block.height == 0) {
        return Error{std::string(NotCells) + "it is empty."};
    }
    return block;
}

} // namespace tessra
