#include "core/export/tile_bank.h"

#include "core/base/message_text.h"
#include "core/export/console_limits.h"

#include <algorithm>
#include <charconv>
#include <optional>

namespace tessra {

namespace {

constexpr std::string_view FirstLine = "TESSRA tile bank";
constexpr char Digits[] = "0123456789ABCDEF";

// Hex digits of a colour as the console keeps it: a NES index, a 15-bit or
// Mega Drive word, the Game Boy's colour itself.
int ColourDigits(ExportHardware hardware) {
    return hardware == ExportHardware::Nes ? 2 : hardware == ExportHardware::Gb ? 6 : 4;
}

bool ColourFits(ExportHardware hardware, std::uint32_t colour) {
    switch (hardware) {
    case ExportHardware::Nes:
        return colour < 64;
    case ExportHardware::Gb:
        return colour <= 0xFFFFFF;
    case ExportHardware::Md:
        return (colour & ~0x0EEEu) == 0;
    default:
        return colour <= 0x7FFF;
    }
}

void AppendHex(std::string& out, std::uint32_t value, int digits) {
    for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4) {
        out += Digits[value >> shift & 15];
    }
}

std::vector<std::string_view> Words(std::string_view line) {
    std::vector<std::string_view> words;
    while (true) {
        const std::size_t start = line.find_first_not_of(" \t\r");
        if (start == std::string_view::npos) {
            return words;
        }
        line.remove_prefix(start);
        const std::size_t end = std::min(line.find_first_of(" \t\r"), line.size());
        words.push_back(line.substr(0, end));
        line.remove_prefix(end);
    }
}

std::optional<std::uint32_t> ReadHex(std::string_view word, std::size_t digits) {
    std::uint32_t value = 0;
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value, 16);
    if (word.size() != digits || error != std::errc{} || end != word.data() + word.size()) {
        return std::nullopt;
    }
    return value;
}

std::optional<int> ReadCount(std::string_view word) {
    int value = 0;
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (word.empty() || error != std::errc{} || end != word.data() + word.size() || value < 0) {
        return std::nullopt;
    }
    return value;
}

class BankReader {
  public:
    explicit BankReader(std::string_view fileName)
        : prefix_("Cannot read the tile bank " + Shortened(fileName) + ": ") {}

    Result<TileBank> Read(std::string_view text) {
        std::optional<Error> error;
        for (line_ = 1; !text.empty() && !error; ++line_) {
            const std::size_t end = text.find('\n');
            const std::string_view line = text.substr(0, end);
            text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
            error = ReadLine(line);
        }
        if (error) {
            return *error;
        }
        if (line_ > 1 && bank_.Hardware == ExportHardware::None && !bank_.Tiles.empty()) {
            return Error{prefix_ + "it names no console."};
        }
        return bank_;
    }

  private:
    Error Refuse(const std::string& what) const {
        return Error{prefix_ + "line " + std::to_string(line_) + " " + what};
    }

    std::optional<Error> ReadLine(std::string_view line) {
        const std::vector<std::string_view> words = Words(line);
        if (line_ == 1) {
            return Words(FirstLine) == words
                       ? std::nullopt
                       : std::optional(Error{prefix_ + "its first line is not \"" +
                                             std::string(FirstLine) + "\"."});
        }
        if (words.empty() || words[0].starts_with('#')) {
            return std::nullopt;
        }
        if (words[0] == "console" && words.size() == 2 && bank_.Hardware == ExportHardware::None) {
            return ReadConsole(words[1]);
        }
        if (bank_.Hardware == ExportHardware::None) {
            return Refuse("comes before the console line: \"" + Shortened(line) + "\".");
        }
        if (words[0] == "bpp" && words.size() == 2 && bank_.Bpp == 0) {
            return ReadBpp(words[1]);
        }
        if (bank_.Bpp == 0) {
            return Refuse("comes before the bpp line: \"" + Shortened(line) + "\".");
        }
        if (words[0] == "palette" && bank_.Tiles.empty()) {
            return ReadPalette(words);
        }
        if (words[0] == "tile") {
            return ReadTile(words);
        }
        return Refuse("is not a palette or a tile of the bank: \"" + Shortened(line) + "\".");
    }

    std::optional<Error> ReadConsole(std::string_view name) {
        for (const ExportHardware hardware :
             {ExportHardware::Snes, ExportHardware::Gba, ExportHardware::Md, ExportHardware::Gbc,
              ExportHardware::Nes, ExportHardware::Gb}) {
            if (ConsoleLimitsOf(hardware).name == name) {
                bank_.Hardware = hardware;
                return std::nullopt;
            }
        }
        return Refuse("names no console TESSRA exports: \"" + Shortened(name) + "\".");
    }

    std::optional<Error> ReadBpp(std::string_view word) {
        const ConsoleLimits& limits = ConsoleLimitsOf(bank_.Hardware);
        const auto depths = ConsoleDepths(limits);
        const std::optional<int> bpp = ReadCount(word);
        if (!bpp || std::find(depths.begin(), depths.end(), *bpp) == depths.end()) {
            return Refuse("gives bpp " + Shortened(word) + "; the " + std::string(limits.name) +
                          " takes " + ConsoleDepthList(limits) + ".");
        }
        bank_.Bpp = *bpp;
        return std::nullopt;
    }

    std::optional<Error> ReadPalette(const std::vector<std::string_view>& words) {
        const int expected = static_cast<int>(bank_.Palettes.size());
        const ConsoleLimits& limits = ConsoleLimitsOf(bank_.Hardware);
        if (words.size() < 2 || ReadCount(words[1]) != expected) {
            return Refuse("should be palette " + std::to_string(expected) +
                          ": sub-palettes are listed in order from 0.");
        }
        if (expected == SubPaletteCount(limits, bank_.Bpp)) {
            return Refuse("is palette " + std::to_string(expected) + ", but the " +
                          std::string(limits.name) + " has " + std::to_string(expected) +
                          " at bpp " + std::to_string(bank_.Bpp) + ".");
        }
        const std::size_t room = static_cast<std::size_t>(SubPaletteRoom(bank_.Bpp));
        if (words.size() < 3 || words.size() - 2 > room) {
            return Refuse("holds " + std::to_string(words.size() - 2) +
                          " colours; a sub-palette holds 1 to " + std::to_string(room) + ".");
        }
        std::vector<ConsoleColour>& palette = bank_.Palettes.emplace_back();
        for (std::size_t i = 2; i < words.size(); ++i) {
            const auto colour =
                ReadHex(words[i], static_cast<std::size_t>(ColourDigits(bank_.Hardware)));
            if (!colour || !ColourFits(bank_.Hardware, *colour)) {
                return Refuse("holds \"" + Shortened(words[i]) + "\", which is no " +
                              std::string(limits.name) + " colour.");
            }
            palette.push_back(*colour);
        }
        // Entry 0 of every sub-palette is the backdrop.
        if (bank_.Hardware != ExportHardware::Gb && palette[0] != bank_.Palettes[0][0]) {
            std::string backdrop;
            AppendHex(backdrop, bank_.Palettes[0][0], ColourDigits(bank_.Hardware));
            return Refuse("starts with " + std::string(words[2]) +
                          ", but every sub-palette starts with the backdrop, " + backdrop + ".");
        }
        return std::nullopt;
    }

    std::optional<Error> ReadTile(const std::vector<std::string_view>& words) {
        const int expected = static_cast<int>(bank_.Tiles.size());
        const ConsoleLimits& limits = ConsoleLimitsOf(bank_.Hardware);
        if (words.size() < 2 || ReadCount(words[1]) != expected) {
            return Refuse("should be tile " + std::to_string(expected) +
                          ": tiles are listed in order from 0.");
        }
        if (expected == limits.tileLimit) {
            return Refuse("is tile " + std::to_string(expected) + ", but the " +
                          std::string(limits.name) + " names " + std::to_string(limits.tileLimit) +
                          " tiles.");
        }
        const std::size_t each = bank_.Bpp == 8 ? 2 : 1;
        TileIndices& tile = bank_.Tiles.emplace_back();
        if (words.size() != 10) {
            return Refuse("should hold 8 rows of 8 colour indices.");
        }
        for (std::size_t y = 0; y < 8; ++y) {
            const std::string_view row = words[y + 2];
            for (std::size_t x = 0; x < 8; ++x) {
                const auto index = row.size() == 8 * each
                                       ? ReadHex(row.substr(x * each, each), each)
                                       : std::nullopt;
                if (!index || *index >= static_cast<std::uint32_t>(SubPaletteRoom(bank_.Bpp))) {
                    return Refuse("row " + std::to_string(y) + " \"" + Shortened(row) +
                                  "\" is not 8 colour indices below " +
                                  std::to_string(SubPaletteRoom(bank_.Bpp)) + ".");
                }
                tile[8 * y + x] = static_cast<std::uint8_t>(*index);
            }
        }
        return std::nullopt;
    }

    std::string prefix_;
    int line_ = 0;
    TileBank bank_;
};

} // namespace

std::string WriteTileBankText(const TileBank& bank) {
    std::string text = std::string(FirstLine) + "\n";
    if (bank.Hardware == ExportHardware::None) {
        return text;
    }
    text += "# The 8 x 8 tiles and colours of the maps that name this bank, with their\n"
            "# numbers. A tile or colour keeps its number; tessra-cli build --compact\n"
            "# drops the tiles no map uses.\n";
    text += "console " + std::string(ConsoleLimitsOf(bank.Hardware).name) + "\n";
    text += "bpp " + std::to_string(bank.Bpp) + "\n";
    const int digits = ColourDigits(bank.Hardware);
    for (std::size_t p = 0; p < bank.Palettes.size(); ++p) {
        text += "palette " + std::to_string(p);
        for (const ConsoleColour colour : bank.Palettes[p]) {
            text += ' ';
            AppendHex(text, colour, digits);
        }
        text += '\n';
    }
    const int each = bank.Bpp == 8 ? 2 : 1;
    text.reserve(text.size() + bank.Tiles.size() * (16 + 9 * 8 * static_cast<std::size_t>(each)));
    for (std::size_t n = 0; n < bank.Tiles.size(); ++n) {
        text += "tile " + std::to_string(n);
        for (int i = 0; i < 64; ++i) {
            if (i % 8 == 0) {
                text += ' ';
            }
            AppendHex(text, bank.Tiles[n][static_cast<std::size_t>(i)], each);
        }
        text += '\n';
    }
    return text;
}

Result<TileBank> ParseTileBank(std::string_view text, std::string_view fileName) {
    if (text.size() > TileBankMaxSize) {
        return Error{"Cannot read the tile bank " + Shortened(fileName) +
                     ": it is larger than 1 MiB, more than any console's tiles."};
    }
    return BankReader(fileName).Read(text);
}

std::vector<int> CompactTileBank(TileBank& bank, const std::vector<bool>& used) {
    std::vector<int> numbers(bank.Tiles.size(), -1);
    std::size_t kept = 0;
    for (std::size_t n = 0; n < bank.Tiles.size(); ++n) {
        if (n < used.size() && used[n]) {
            numbers[n] = static_cast<int>(kept);
            bank.Tiles[kept++] = bank.Tiles[n];
        }
    }
    bank.Tiles.resize(kept);
    return numbers;
}

} // namespace tessra
