#include "core/export/console_colour.h"

#include "core/base/message_text.h"
#include "core/export/console_limits.h"

#include <charconv>

namespace tessra {

namespace {

// clang-format off
constexpr std::array<std::uint8_t, 64 * 3> FceuxPalette = {
    0x74,0x74,0x74, 0x24,0x18,0x8C, 0x00,0x00,0xA8, 0x44,0x00,0x9C,
    0x8C,0x00,0x74, 0xA8,0x00,0x10, 0xA4,0x00,0x00, 0x7C,0x08,0x00,
    0x40,0x2C,0x00, 0x00,0x44,0x00, 0x00,0x50,0x00, 0x00,0x3C,0x14,
    0x18,0x3C,0x5C, 0x00,0x00,0x00, 0x00,0x00,0x00, 0x00,0x00,0x00,
    0xBC,0xBC,0xBC, 0x00,0x70,0xEC, 0x20,0x38,0xEC, 0x80,0x00,0xF0,
    0xBC,0x00,0xBC, 0xE4,0x00,0x58, 0xD8,0x28,0x00, 0xC8,0x4C,0x0C,
    0x88,0x70,0x00, 0x00,0x94,0x00, 0x00,0xA8,0x00, 0x00,0x90,0x38,
    0x00,0x80,0x88, 0x00,0x00,0x00, 0x00,0x00,0x00, 0x00,0x00,0x00,
    0xFC,0xFC,0xFC, 0x3C,0xBC,0xFC, 0x5C,0x94,0xFC, 0xCC,0x88,0xFC,
    0xF4,0x78,0xFC, 0xFC,0x74,0xB4, 0xFC,0x74,0x60, 0xFC,0x98,0x38,
    0xF0,0xBC,0x3C, 0x80,0xD0,0x10, 0x4C,0xDC,0x48, 0x58,0xF8,0x98,
    0x00,0xE8,0xD8, 0x78,0x78,0x78, 0x00,0x00,0x00, 0x00,0x00,0x00,
    0xFC,0xFC,0xFC, 0xA8,0xE4,0xFC, 0xC4,0xD4,0xFC, 0xD4,0xC8,0xFC,
    0xFC,0xC4,0xFC, 0xFC,0xC4,0xD8, 0xFC,0xBC,0xB0, 0xFC,0xD8,0xA8,
    0xFC,0xE4,0xA0, 0xE0,0xFC,0xA0, 0xA8,0xF0,0xBC, 0xB0,0xFC,0xCC,
    0x9C,0xFC,0xF0, 0xC4,0xC4,0xC4, 0x00,0x00,0x00, 0x00,0x00,0x00,
};
// clang-format on

NesMasterPalette PaletteOfBytes(const std::uint8_t* rgb) {
    NesMasterPalette palette{};
    for (std::size_t i = 0; i < palette.size(); ++i) {
        palette[i] = Rgb(rgb[3 * i], rgb[3 * i + 1], rgb[3 * i + 2]);
    }
    return palette;
}

int Channel(Pixel colour, int shift) {
    return static_cast<int>(colour >> shift & 0xFF);
}

// A channel of `bits` bits back to 8, its top bits repeated below.
std::uint32_t Widen(std::uint32_t value, int bits) {
    std::uint32_t wide = 0;
    for (int shift = 8 - bits; shift > -bits; shift -= bits) {
        wide |= shift >= 0 ? value << shift : value >> -shift;
    }
    return wide & 0xFF;
}

int NearestNesColour(const NesMasterPalette& palette, Pixel colour) {
    int best = 0x0F;
    long bestDistance = -1;
    for (int i = 0; i < 64; ++i) {
        if (IsAvoidedNesColour(i)) {
            continue;
        }
        long distance = 0;
        for (const int shift : {0, 8, 16}) {
            const long d = Channel(colour, shift) - Channel(palette[i], shift);
            distance += d * d;
        }
        if (bestDistance < 0 || distance < bestDistance) { // ties keep the lower index
            best = i, bestDistance = distance;
        }
    }
    return best;
}

std::string_view NextLine(std::string_view& text) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (line.ends_with('\r')) {
        line.remove_suffix(1);
    }
    return line;
}

std::string_view SkipBlanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    return text;
}

// "R G B [name]", each from 0 to 255.
std::optional<Pixel> ReadColourLine(std::string_view line) {
    std::array<int, 3> rgb{};
    for (int& channel : rgb) {
        line = SkipBlanks(line);
        const auto [end, error] = std::from_chars(line.data(), line.data() + line.size(), channel);
        if (error != std::errc{} || channel < 0 || channel > 255) {
            return std::nullopt;
        }
        line.remove_prefix(static_cast<std::size_t>(end - line.data()));
        if (!line.empty() && line.front() != ' ' && line.front() != '\t') {
            return std::nullopt;
        }
    }
    return Rgb(rgb[0], rgb[1], rgb[2]);
}

} // namespace

const NesMasterPalette& BuiltInNesPalette() {
    static const NesMasterPalette palette = PaletteOfBytes(FceuxPalette.data());
    return palette;
}

Result<NesMasterPalette> ParseNesPalette(std::string_view bytes, std::string_view fileName) {
    if (bytes.size() != 192 && bytes.size() != NesPaletteFileMaxSize) {
        return Error{"Cannot read the NES palette " + Shortened(fileName) + ": it holds " +
                     std::to_string(bytes.size()) +
                     " bytes, and a palette is 192 (64 colours of red, green and blue) or 1536 "
                     "(with the emphasis colours after them)."};
    }
    return PaletteOfBytes(reinterpret_cast<const std::uint8_t*>(bytes.data()));
}

bool IsAvoidedNesColour(int index) {
    switch (index) {
    case 0x0D:
    case 0x0E:
    case 0x1D:
    case 0x1E:
    case 0x1F:
    case 0x2E:
    case 0x2F:
    case 0x3E:
    case 0x3F:
        return true;
    default:
        return false;
    }
}

std::string HexColourText(Pixel colour) {
    constexpr char Digits[] = "0123456789ABCDEF";
    std::string text = "#";
    for (const int shift : {0, 8, 16}) {
        text += Digits[colour >> (shift + 4) & 15];
        text += Digits[colour >> shift & 15];
    }
    return text;
}

ColourDepth::ColourDepth(ExportHardware hardware, const NesMasterPalette& nes)
    : hardware_(hardware), bits_(ConsoleLimitsOf(hardware).channelBits), nes_(nes) {}

ConsoleColour ColourDepth::Reduce(Pixel colour) const {
    colour |= 0xFF000000u;
    if (hardware_ == ExportHardware::Nes) {
        const auto [at, added] = nearest_.try_emplace(colour, 0);
        if (added) {
            at->second = static_cast<ConsoleColour>(NearestNesColour(nes_, colour));
        }
        return at->second;
    }
    if (bits_ == 0) {
        return HexOfPixel(colour);
    }
    const auto top = [&](int shift) {
        return static_cast<ConsoleColour>(Channel(colour, shift) >> (8 - bits_));
    };
    if (bits_ == 3) { // md: a nibble a channel, the low bit clear
        return top(0) << 1 | top(8) << 5 | top(16) << 9;
    }
    return top(0) | top(8) << 5 | top(16) << 10;
}

Pixel ColourDepth::Show(ConsoleColour colour) const {
    if (hardware_ == ExportHardware::Nes) {
        return nes_[colour & 63];
    }
    if (bits_ == 0) {
        return PixelOfHex(colour);
    }
    if (bits_ == 3) {
        return Rgb(Widen(colour >> 1 & 7, 3), Widen(colour >> 5 & 7, 3), Widen(colour >> 9 & 7, 3));
    }
    return Rgb(Widen(colour & 31, 5), Widen(colour >> 5 & 31, 5), Widen(colour >> 10 & 31, 5));
}

Result<std::vector<Pixel>> ParseGimpPalette(std::string_view bytes, std::string_view fileName) {
    const std::string prefix = "Cannot read the GIMP palette " + Shortened(fileName) + ": ";
    if (bytes.size() > GimpPaletteMaxSize) {
        return Error{prefix + "it is larger than 1 MiB; a palette is a few lines of text."};
    }
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        bytes.remove_prefix(3);
    }
    if (NextLine(bytes) != "GIMP Palette") {
        return Error{prefix + "its first line is not \"GIMP Palette\"."};
    }
    std::vector<Pixel> colours;
    for (int number = 2; !bytes.empty(); ++number) {
        const std::string_view line = SkipBlanks(NextLine(bytes));
        if (line.empty() || line.starts_with('#') || line.starts_with("Name:") ||
            line.starts_with("Columns:")) {
            continue;
        }
        const std::optional<Pixel> colour = ReadColourLine(line);
        if (!colour) {
            return Error{prefix + "line " + std::to_string(number) +
                         " is not a colour (red, green and blue from 0 to 255, then a name): \"" +
                         Shortened(line) + "\"."};
        }
        colours.push_back(*colour);
    }
    if (colours.empty()) {
        return Error{prefix + "it holds no colours."};
    }
    return colours;
}

} // namespace tessra
