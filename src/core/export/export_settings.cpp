#include "core/export/export_settings.h"

#include "core/base/message_text.h"
#include "core/export/console_limits.h"
#include "core/model/map_grid.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <vector>

namespace tessra {

namespace {

constexpr std::array OrderChoices = {
    ExportChoice{"rows", "inside a screen, x runs fastest"},
    ExportChoice{"columns", "inside a screen, y runs fastest"},
};
constexpr std::array EntryChoices = {
    ExportChoice{"u8", "one byte a cell (0 to 255)"},
    ExportChoice{"u16le", "two bytes a cell, low byte first (0 to 65535)"},
    ExportChoice{"u16be", "two bytes a cell, high byte first (0 to 65535)"},
};
constexpr std::array CompressChoices = {
    ExportChoice{"none", "the bytes as they are"},
    ExportChoice{"rle", "run-length, as the GBA BIOS RLUnComp reads it (header 0x30)"},
    ExportChoice{"lz77", "LZ77, as the GBA BIOS LZ77UnComp reads it (header 0x10), VRAM-safe"},
};
constexpr std::array FormatChoices = {
    ExportChoice{"raw", "the bytes alone"},
    ExportChoice{"c", "NAME.c and NAME.h: the bytes, NAME_WIDTH, NAME_HEIGHT, NAME_SIZE"},
    ExportChoice{"asm", "byte directives under the global label NAME, in the chosen syntax"},
    ExportChoice{"csv", "the entry values in decimal, one line per row of a screen"},
};
constexpr std::array SyntaxChoices = {
    ExportChoice{"ca65", "cc65's assembler (NES, Atari, C64, SNES)"},
    ExportChoice{"rgbds", "RGBDS's rgbasm (Game Boy)"},
    ExportChoice{"sdas", "SDCC's assemblers, sdasgb and sdasz80 (GBDK, SMS)"},
    ExportChoice{"gas", "GNU as (devkitARM for the GBA, SGDK for the Mega Drive)"},
};

constexpr std::array HardwareChoices = {
    ExportChoice{"none", "one value a cell: its tile number or its behaviour"},
    ExportChoice{"snes", "SNES BG map: 16-bit entries, low byte first"},
    ExportChoice{"gba", "GBA text BG map: 16-bit entries, low byte first"},
    ExportChoice{"md", "Mega Drive plane map: 16-bit entries, high byte first"},
    ExportChoice{"gbc", "Game Boy Color: the tile map, then the attribute map"},
    ExportChoice{"nes", "NES: a screen's 960 tile bytes, then its attribute table"},
    ExportChoice{"gb", "Game Boy: the tile map alone (palette 0, no flips)"},
};
constexpr std::array NumberingChoices = {
    ExportChoice{"image", "the palette picture cut into 8 x 8 tiles (snes, gba, md)"},
    ExportChoice{"metatile", "tile n's quarters are 8 x 8 tiles 4n to 4n + 3 (gbc, nes, gb)"},
    ExportChoice{"unique", "each 8 x 8 tile the map shows stored once, mirror images too"},
};
constexpr std::array BppChoices = {
    ExportChoice{"2", "4 colours a sub-palette (nes, gb, gbc; snes)"},
    ExportChoice{"4", "16 colours a sub-palette (snes, gba, md)"},
    ExportChoice{"8", "one palette of 256 colours (snes, gba)"},
};
constexpr std::array BehaviourChoices = {
    ExportChoice{"false", "each cell's tile number"},
    ExportChoice{"true", "each cell's behaviour byte, from the tile attributes"},
};

constexpr std::array<ExportChoiceSetting, 9> ChoiceSettings = {{
    {"format", FormatChoices},
    {"syntax", SyntaxChoices},
    {"entry", EntryChoices},
    {"hardware", HardwareChoices},
    {"numbering", NumberingChoices},
    {"bpp", BppChoices},
    {"behaviour", BehaviourChoices},
    {"compress", CompressChoices},
    {"order", OrderChoices},
}};

constexpr std::array<std::string_view, 20> SettingNames = {
    "region",    "screen",    "order",    "offset",       "entry",       "hardware", "numbering",
    "tile-base", "behaviour", "compress", "format",       "syntax",      "name",     "tiles",
    "palettes",  "bpp",       "backdrop", "palette-file", "nes-palette", "bank"};

// Names that compile but do not link or assemble: C keywords, and the
// mnemonics and registers that each assembler reads in place of a label.
constexpr std::string_view CKeywords =
    " auto break case char const continue default do double else enum extern float for goto if"
    " inline int long register restrict return short signed sizeof static struct switch typedef"
    " union unsigned void volatile while _Bool _Complex _Imaginary _Alignas _Alignof _Atomic"
    " _Generic _Noreturn _Static_assert _Thread_local ";
constexpr std::string_view Ca65Reserved =
    " a x y adc and asl bcc bcs beq bit bmi bne bpl brk bvc bvs clc cld cli clv cmp cpx cpy dec"
    " dex dey eor inc inx iny jmp jsr lda ldx ldy lsr nop ora pha php pla plp rol ror rti rts"
    " sbc sec sed sei sta stx sty tax tay tsx txa txs tya bra phx phy plx ply stz trb tsb ";
constexpr std::string_view RgbdsReserved =
    " a b c d e h l af bc de hl sp hli hld z nz nc adc add and bit call ccf cp cpl daa dec di"
    " ei halt inc jp jr ld ldh ldi ldd nop or pop push res ret reti rl rla rlc rlca rr rra rrc"
    " rrca rst sbc scf set sla sra srl stop sub swap xor db dw dl ds def equ equs rb rw section"
    " export include incbin macro endm rept endr for if elif else endc union nextu endu load"
    " endl pushs pops pusho popo charmap newcharmap setcharmap bank sizeof startof high low"
    " rom0 romx vram sram wram0 wramx oam hram align fail warn assert purge redef opt shift ";

// sdasz80's and sdasgb's registers and conditions: "ld hl, #hl" is refused.
constexpr std::string_view SdasReserved =
    " a b c d e h l i r af bc de hl sp ix iy ixh ixl iyh iyl hli hld nz z nc m p pe po ";
// GNU as for ARM reads any name in an operand as a symbol; for the 68000
// (the Mega Drive) a register's name without its % is the register.
constexpr std::string_view GasReserved = " d0 d1 d2 d3 d4 d5 d6 d7 a0 a1 a2 a3 a4 a5 a6 a7 sp fp"
                                         " pc sr ccr usp ssp zpc ";

template <std::size_t N> std::string ChoiceList(const std::array<ExportChoice, N>& choices) {
    std::string list;
    for (std::size_t i = 0; i < N; ++i) {
        list += (i == 0 ? "" : (i + 1 == N ? " or " : ", ")) + std::string(choices[i].value);
    }
    return list;
}

Error Refusal(std::string_view name, const std::string& allowed, std::string_view text) {
    return Error{"The " + std::string(name) + " setting must be " + allowed + ", not \"" +
                 std::string(text.substr(0, 40)) + (text.size() > 40 ? "...\"." : "\".")};
}

template <class Enum, std::size_t N>
Status ReadChoice(Enum& value, std::string_view name, const std::array<ExportChoice, N>& choices,
                  std::string_view text) {
    for (std::size_t i = 0; i < N; ++i) {
        if (choices[i].value == text) {
            value = static_cast<Enum>(i);
            return {};
        }
    }
    return Refusal(name, ChoiceList(choices), text);
}

template <class Enum, std::size_t N>
std::string ChoiceText(Enum value, const std::array<ExportChoice, N>& choices) {
    return std::string(choices[static_cast<std::size_t>(value)].value);
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    return text;
}

// A whole number in decimal digits, with a minus sign where allowed.
std::optional<int> ReadWhole(std::string_view text) {
    text = TrimBlanks(text);
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

// "a,b,c": exactly count whole numbers.
std::optional<std::vector<int>> ReadNumberList(std::string_view text, std::size_t count) {
    std::vector<int> numbers;
    while (numbers.size() < count) {
        const std::size_t comma = text.find(',');
        const auto number = ReadWhole(text.substr(0, comma));
        if (!number || (comma == std::string_view::npos) != (numbers.size() + 1 == count)) {
            return std::nullopt;
        }
        numbers.push_back(*number);
        text.remove_prefix(comma == std::string_view::npos ? text.size() : comma + 1);
    }
    return numbers;
}

constexpr std::string_view RegionRule =
    "X,Y,W,H with the block inside the 256 x 256 map (X and Y from 0 to 255, W and H at least "
    "1, X + W and Y + H at most 256)";
constexpr std::string_view ScreenRule = "W,H, each from 1 to 512 (or empty for the region's size)";
constexpr int ScreenLimit = 2 * MapSize; // entries with a hardware

bool RegionFits(const ExportRegion& r) {
    return r.X >= 0 && r.Y >= 0 && r.W >= 1 && r.H >= 1 && r.W <= MapSize - r.X &&
           r.H <= MapSize - r.Y;
}

bool ScreenFits(const ExportScreen& s) {
    return s.W >= 1 && s.H >= 1 && s.W <= ScreenLimit && s.H <= ScreenLimit;
}

std::string RegionText(const ExportRegion& r) {
    return std::to_string(r.X) + "," + std::to_string(r.Y) + "," + std::to_string(r.W) + "," +
           std::to_string(r.H);
}

std::string ScreenText(const ExportScreen& s) {
    return std::to_string(s.W) + "," + std::to_string(s.H);
}

Status ReadRegion(ExportRegion& region, std::string_view text) {
    const auto n = ReadNumberList(text, 4);
    const ExportRegion read = n ? ExportRegion{(*n)[0], (*n)[1], (*n)[2], (*n)[3]} : ExportRegion{};
    if (!n || !RegionFits(read)) {
        return Refusal("region", std::string(RegionRule), text);
    }
    region = read;
    return {};
}

Status ReadScreen(std::optional<ExportScreen>& screen, std::string_view text) {
    if (TrimBlanks(text).empty()) {
        screen.reset(); // back to the region's size
        return {};
    }
    const auto n = ReadNumberList(text, 2);
    if (!n || !ScreenFits({(*n)[0], (*n)[1]})) {
        return Refusal("screen", std::string(ScreenRule), text);
    }
    screen = ExportScreen{(*n)[0], (*n)[1]};
    return {};
}

std::string OffsetRule() {
    return "a whole number from " + std::to_string(-ExportOffsetLimit) + " to " +
           std::to_string(ExportOffsetLimit);
}

std::string TileBaseRule() {
    return "a whole number from 0 to " + std::to_string(ExportTileBaseLimit);
}

Status ReadNumber(int& number, std::string_view name, int low, int high, const std::string& rule,
                  std::string_view text) {
    const auto value = ReadWhole(text);
    if (!value || *value < low || *value > high) {
        return Refusal(name, rule, text);
    }
    number = *value;
    return {};
}

Status ReadNumbering(std::optional<ExportNumbering>& numbering, std::string_view text) {
    if (TrimBlanks(text).empty()) {
        numbering.reset(); // back to the hardware's own
        return {};
    }
    ExportNumbering read{};
    if (!ReadChoice(read, "numbering", NumberingChoices, text)) {
        return Refusal("numbering",
                       ChoiceList(NumberingChoices) + " (or empty for the hardware's own)", text);
    }
    numbering = read;
    return {};
}

Status ReadBpp(std::optional<int>& bpp, std::string_view text) {
    if (TrimBlanks(text).empty()) {
        bpp.reset(); // back to the hardware's own
        return {};
    }
    int read = 0;
    if (!ReadChoice(read, "bpp", BppChoices, TrimBlanks(text))) {
        return Refusal("bpp", ChoiceList(BppChoices) + " (or empty for the hardware's own)", text);
    }
    bpp = 2 << read;
    return {};
}

std::optional<std::uint32_t> ReadHexColour(std::string_view text) {
    text = TrimBlanks(text);
    if (text.starts_with('#')) {
        text.remove_prefix(1);
    }
    std::uint32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
    if (text.size() != 6 || error != std::errc{} || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

Status ReadBackdrop(std::optional<std::uint32_t>& backdrop, std::string_view text) {
    if (TrimBlanks(text).empty()) {
        backdrop.reset(); // back to tile 0's top-left pixel
        return {};
    }
    const auto colour = ReadHexColour(text);
    if (!colour) {
        return Refusal("backdrop",
                       "a colour of six hexadecimal digits, RRGGBB (or empty for the colour of "
                       "tile 0's top-left pixel)",
                       text);
    }
    backdrop = colour;
    return {};
}

std::string HexColour(std::uint32_t colour) {
    constexpr char Digits[] = "0123456789ABCDEF";
    std::string text(6, '0');
    for (int i = 5; i >= 0; --i, colour >>= 4) {
        text[static_cast<std::size_t>(i)] = Digits[colour & 15];
    }
    return text;
}

bool IsIdentifier(std::string_view name) {
    const auto letter = [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
    };
    const auto digit = [](char c) { return c >= '0' && c <= '9'; };
    return !name.empty() && name.size() <= ExportNameMaxLength && letter(name.front()) &&
           std::all_of(name.begin(), name.end(), [&](char c) { return letter(c) || digit(c); });
}

std::string NameRule() {
    return "a C identifier: a letter or _, then letters, digits or _, at most " +
           std::to_string(ExportNameMaxLength) + " characters";
}

Status ReadName(std::string& name, std::string_view text) {
    if (!text.empty() && !IsIdentifier(text)) {
        return Refusal("name", NameRule(), text);
    }
    name = text;
    return {};
}

std::string Lowered(std::string_view text) {
    std::string lowered(text);
    std::transform(lowered.begin(), lowered.end(), lowered.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; });
    return lowered;
}

bool InWordList(std::string_view list, const std::string& word) {
    return list.find(" " + word + " ") != std::string_view::npos;
}

// The word that would take the name's place, or nothing.
std::optional<std::string> ReservedBy(std::string_view name, const ExportSettings& settings) {
    if (InWordList(CKeywords, std::string(name))) {
        return std::string("a keyword of C");
    }
    if (settings.Format != ExportFormat::Asm) {
        return std::nullopt;
    }
    // Every assembler reads its keywords in either case.
    const struct {
        AsmSyntax syntax;
        std::string_view words;
        const char* what;
    } reserved[] = {
        {AsmSyntax::Ca65, Ca65Reserved, "a register or instruction of ca65"},
        {AsmSyntax::Rgbds, RgbdsReserved, "a keyword of rgbasm"},
        {AsmSyntax::Sdas, SdasReserved, "a register or condition of sdasz80 and sdasgb"},
        {AsmSyntax::Gas, GasReserved, "a register of the 68000, which GNU as reads in its place"},
    };
    for (const auto& [syntax, words, what] : reserved) {
        if (settings.Syntax == syntax && InWordList(words, Lowered(name))) {
            return std::string(what);
        }
    }
    return std::nullopt;
}

// The text of a setting that names a file, or null for another setting.
template <class Settings>
auto PathSetting(Settings& settings, std::string_view name) -> decltype(&settings.Tiles) {
    if (name == "tiles") {
        return &settings.Tiles;
    }
    if (name == "palettes") {
        return &settings.Palettes;
    }
    if (name == "palette-file") {
        return &settings.PaletteFile;
    }
    if (name == "bank") {
        return &settings.Bank;
    }
    return name == "nes-palette" ? &settings.NesPalette : nullptr;
}

constexpr ExportScreen NesScreen{32, 30};

std::string HardwareText(const ExportSettings& settings) {
    return ChoiceText(settings.Hardware, HardwareChoices);
}

// The screen divides the region, both counted in entries.
Status CheckScreen(const ExportSettings& settings) {
    const ExportScreen screen = EffectiveScreen(settings);
    const bool hardware = settings.Hardware != ExportHardware::None;
    if (!ScreenFits(screen)) {
        return Refusal("screen", std::string(ScreenRule), ScreenText(screen));
    }
    if (!hardware && (screen.W > MapSize || screen.H > MapSize)) {
        return Error{"The screen setting " + ScreenText(screen) +
                     " is larger than the map: without a hardware a screen is at most 256,256 "
                     "cells (512,512 counts 8 x 8 tiles, with a hardware)."};
    }
    if (settings.Hardware == ExportHardware::Nes && screen != NesScreen) {
        return Error{"The screen setting must be 32,30 (or empty) with hardware nes, whose "
                     "attribute tables cover screens of 32 x 30 tiles, not \"" +
                     ScreenText(screen) + "\"."};
    }
    const int scale = hardware ? 2 : 1;
    const int width = settings.Region.W * scale, height = settings.Region.H * scale;
    if (width % screen.W != 0 || height % screen.H != 0) {
        return Error{"The screen setting " + ScreenText(screen) + " does not divide the region " +
                     std::to_string(width) + " x " + std::to_string(height) +
                     (hardware ? " (8 x 8 tiles, two a cell each way)" : "") +
                     ": the region's width and height must be multiples of the screen's."};
    }
    return {};
}

// Settings that the hardware, or its absence, would leave without effect.
Status CheckHardware(const ExportSettings& settings) {
    const std::string hardware = HardwareText(settings);
    if (settings.Hardware == ExportHardware::None) {
        if (settings.TileBase != 0 || settings.Numbering) {
            return Error{"The " + std::string(settings.TileBase != 0 ? "tile-base" : "numbering") +
                         " setting counts 8 x 8 tiles and needs a hardware (snes, gba, md, gbc, "
                         "nes or gb); without one, offset is added to each tile number."};
        }
        return {};
    }
    if (settings.Offset != 0) {
        return Error{"The offset setting must be 0 with hardware " + hardware +
                     ": give the number of the first 8 x 8 tile in video memory as tile-base."};
    }
    if (settings.Entry != ExportEntry::U8) {
        return Error{"The entry setting must be left at u8 with hardware " + hardware +
                     ", which writes the console's own entries."};
    }
    if (settings.Behaviour) {
        return Error{"The behaviour setting writes one byte a cell and cannot go with hardware " +
                     hardware + "; export the behaviour map with hardware none."};
    }
    const bool twoMaps =
        settings.Hardware == ExportHardware::Gbc || settings.Hardware == ExportHardware::Nes;
    if (settings.Format == ExportFormat::Csv && twoMaps) {
        return Error{"The format setting must be raw, c or asm with hardware " + hardware +
                     ", which writes tile numbers and attributes apart, not \"csv\"."};
    }
    return {};
}

// The tile graphics and palettes, and the settings that shape them.
Status CheckArt(const ExportSettings& settings) {
    const bool hardware = settings.Hardware != ExportHardware::None;
    for (const std::string_view output : {"tiles", "palettes", "bank"}) {
        if (!ExportSettingText(settings, output).empty() && !hardware) {
            return Error{"The " + std::string(output) + " setting " +
                         (output == "bank" ? "keeps 8 x 8 tiles" : "writes them") +
                         " in a console's own format and needs a hardware (snes, gba, md, gbc, "
                         "nes or gb)."};
        }
    }
    const bool art = !settings.Tiles.empty() || !settings.Palettes.empty();
    if (art && settings.Format == ExportFormat::Csv) {
        return Error{"The format setting must be raw, c or asm with tiles or palettes, which "
                     "are bytes, not \"csv\"."};
    }
    if (!settings.Tiles.empty() && settings.Tiles == settings.Palettes) {
        return Error{"The tiles and palettes settings name the same file; give each its own."};
    }
    if (!settings.Bank.empty() && EffectiveNumbering(settings) != ExportNumbering::Unique) {
        return Error{"The bank setting keeps the numbers of unique tiles and needs numbering "
                     "unique (or empty), not \"" +
                     ChoiceText(EffectiveNumbering(settings), NumberingChoices) + "\"."};
    }
    for (const std::string_view shaping : {"bpp", "backdrop", "palette-file", "nes-palette"}) {
        if (!ExportSettingText(settings, shaping).empty() && !NeedsTilePictures(settings)) {
            return Error{"The " + std::string(shaping) +
                         " setting shapes the tile graphics and palettes, and needs tiles, "
                         "palettes or numbering unique."};
        }
    }
    if (!hardware) {
        return {};
    }
    const ConsoleLimits& console = ConsoleLimitsOf(settings.Hardware);
    const auto depths = ConsoleDepths(console);
    if (settings.Bpp && std::find(depths.begin(), depths.end(), *settings.Bpp) == depths.end()) {
        return Refusal("bpp",
                       ConsoleDepthList(console) + " with hardware " + std::string(console.name),
                       std::to_string(*settings.Bpp));
    }
    if (!settings.NesPalette.empty() && settings.Hardware != ExportHardware::Nes) {
        return Error{"The nes-palette setting replaces the NES's colours and needs hardware nes."};
    }
    if (settings.Backdrop && !settings.PaletteFile.empty()) {
        return Error{"The backdrop setting cannot go with palette-file, whose first colour is "
                     "the backdrop."};
    }
    if (settings.Backdrop && settings.Hardware == ExportHardware::Gb) {
        return Error{"The backdrop setting has no part with hardware gb, whose colours are "
                     "numbered by brightness, the lightest 0."};
    }
    return {};
}

// Whether a setting had a part in the bytes, for the comment that describes
// them; the format, syntax and name speak for themselves.
bool ShapesTheBytes(const ExportSettings& settings, std::string_view name) {
    const bool hardware = settings.Hardware != ExportHardware::None;
    if (name == "offset" || name == "entry") {
        return !hardware;
    }
    if (name == "hardware" || name == "numbering" || name == "tile-base") {
        return hardware;
    }
    if (name == "behaviour") {
        return settings.Behaviour;
    }
    if (name == "bpp") {
        return NeedsTilePictures(settings);
    }
    if (name == "backdrop" || name == "palette-file" || name == "nes-palette" || name == "bank") {
        return !ExportSettingText(settings, name).empty();
    }
    return name != "name" && name != "format" && name != "syntax" && name != "tiles" &&
           name != "palettes";
}

} // namespace

std::span<const ExportChoiceSetting> ExportChoiceSettings() {
    return ChoiceSettings;
}

std::span<const std::string_view> ExportSettingNames() {
    return SettingNames;
}

bool IsNumberSetting(std::string_view name) {
    return name == "offset" || name == "tile-base";
}

bool IsFlagSetting(std::string_view name) {
    return name == "behaviour";
}

bool IsPathSetting(std::string_view name) {
    return name == "tiles" || name == "palettes" || name == "palette-file" ||
           name == "nes-palette" || name == "bank";
}

Status SetExportSetting(ExportSettings& settings, std::string_view name, std::string_view text) {
    if (name == "region") {
        return ReadRegion(settings.Region, text);
    }
    if (name == "screen") {
        return ReadScreen(settings.Screen, text);
    }
    if (name == "order") {
        return ReadChoice(settings.Order, name, OrderChoices, text);
    }
    if (name == "offset") {
        return ReadNumber(settings.Offset, name, -ExportOffsetLimit, ExportOffsetLimit,
                          OffsetRule(), text);
    }
    if (name == "entry") {
        return ReadChoice(settings.Entry, name, EntryChoices, text);
    }
    if (name == "hardware") {
        return ReadChoice(settings.Hardware, name, HardwareChoices, text);
    }
    if (name == "numbering") {
        return ReadNumbering(settings.Numbering, text);
    }
    if (name == "tile-base") {
        return ReadNumber(settings.TileBase, name, 0, ExportTileBaseLimit, TileBaseRule(), text);
    }
    if (name == "behaviour") {
        return ReadChoice(settings.Behaviour, name, BehaviourChoices, text);
    }
    if (name == "compress") {
        return ReadChoice(settings.Compress, name, CompressChoices, text);
    }
    if (name == "format") {
        return ReadChoice(settings.Format, name, FormatChoices, text);
    }
    if (name == "syntax") {
        return ReadChoice(settings.Syntax, name, SyntaxChoices, text);
    }
    if (name == "name") {
        return ReadName(settings.Name, text);
    }
    if (name == "bpp") {
        return ReadBpp(settings.Bpp, text);
    }
    if (name == "backdrop") {
        return ReadBackdrop(settings.Backdrop, text);
    }
    if (std::string* path = PathSetting(settings, name)) {
        *path = text;
        return {};
    }
    return Error{"There is no export setting \"" + Shortened(name) + "\"."};
}

std::string ExportSettingText(const ExportSettings& settings, std::string_view name) {
    if (name == "region") {
        return RegionText(settings.Region);
    }
    if (name == "screen") {
        return settings.Screen ? ScreenText(*settings.Screen) : std::string();
    }
    if (name == "order") {
        return ChoiceText(settings.Order, OrderChoices);
    }
    if (name == "offset") {
        return std::to_string(settings.Offset);
    }
    if (name == "entry") {
        return ChoiceText(settings.Entry, EntryChoices);
    }
    if (name == "hardware") {
        return ChoiceText(settings.Hardware, HardwareChoices);
    }
    if (name == "numbering") {
        return settings.Numbering ? ChoiceText(*settings.Numbering, NumberingChoices)
                                  : std::string();
    }
    if (name == "tile-base") {
        return std::to_string(settings.TileBase);
    }
    if (name == "behaviour") {
        return ChoiceText(settings.Behaviour, BehaviourChoices);
    }
    if (name == "compress") {
        return ChoiceText(settings.Compress, CompressChoices);
    }
    if (name == "format") {
        return ChoiceText(settings.Format, FormatChoices);
    }
    if (name == "syntax") {
        return ChoiceText(settings.Syntax, SyntaxChoices);
    }
    if (name == "bpp") {
        return settings.Bpp ? std::to_string(*settings.Bpp) : std::string();
    }
    if (name == "backdrop") {
        return settings.Backdrop ? HexColour(*settings.Backdrop) : std::string();
    }
    if (const std::string* path = PathSetting(settings, name)) {
        return *path;
    }
    return name == "name" ? settings.Name : std::string();
}

ExportScreen EffectiveScreen(const ExportSettings& settings) {
    if (settings.Screen) {
        return *settings.Screen;
    }
    if (settings.Hardware == ExportHardware::Nes) {
        return {NesScreen.W, NesScreen.H};
    }
    const int scale = settings.Hardware == ExportHardware::None ? 1 : 2;
    return {settings.Region.W * scale, settings.Region.H * scale};
}

ExportNumbering EffectiveNumbering(const ExportSettings& settings) {
    if (settings.Numbering) {
        return *settings.Numbering;
    }
    if (!settings.Bank.empty()) {
        return ExportNumbering::Unique;
    }
    const bool metatile = settings.Hardware == ExportHardware::Gbc ||
                          settings.Hardware == ExportHardware::Nes ||
                          settings.Hardware == ExportHardware::Gb;
    return metatile ? ExportNumbering::Metatile : ExportNumbering::Image;
}

int EffectiveBpp(const ExportSettings& settings) {
    if (settings.Hardware == ExportHardware::None) {
        return 0;
    }
    return settings.Bpp.value_or(ConsoleLimitsOf(settings.Hardware).depths[0]);
}

bool NeedsTilePictures(const ExportSettings& settings) {
    return settings.Hardware != ExportHardware::None &&
           (!settings.Tiles.empty() || !settings.Palettes.empty() ||
            EffectiveNumbering(settings) == ExportNumbering::Unique);
}

Status CheckExportSettings(const ExportSettings& settings) {
    // Fields set by a window rather than read from text are checked here too.
    if (!RegionFits(settings.Region)) {
        return Refusal("region", std::string(RegionRule), RegionText(settings.Region));
    }
    if (Status screen = CheckScreen(settings); !screen) {
        return screen;
    }
    if (settings.Offset < -ExportOffsetLimit || settings.Offset > ExportOffsetLimit) {
        return Refusal("offset", OffsetRule(), std::to_string(settings.Offset));
    }
    if (settings.TileBase < 0 || settings.TileBase > ExportTileBaseLimit) {
        return Refusal("tile-base", TileBaseRule(), std::to_string(settings.TileBase));
    }
    if (Status hardware = CheckHardware(settings); !hardware) {
        return hardware;
    }
    if (Status art = CheckArt(settings); !art) {
        return art;
    }
    if (settings.Format == ExportFormat::Csv && settings.Compress != ExportCompression::None) {
        return Refusal("compress", "none with the csv format, which writes numbers as text",
                       ChoiceText(settings.Compress, CompressChoices));
    }
    if (settings.Syntax != AsmSyntax::Ca65 && settings.Format != ExportFormat::Asm) {
        return Error{"The syntax setting chooses the assembler and needs the asm format, not \"" +
                     ChoiceText(settings.Format, FormatChoices) + "\"."};
    }
    const bool symbols = settings.Format == ExportFormat::C || settings.Format == ExportFormat::Asm;
    if (!settings.Name.empty() && !symbols) {
        return Error{"The name setting names the symbol of the c and asm formats and has no part "
                     "in \"" +
                     ChoiceText(settings.Format, FormatChoices) + "\"."};
    }
    if (!settings.Name.empty() && !IsIdentifier(settings.Name)) {
        return Refusal("name", NameRule(), settings.Name);
    }
    if (const auto reserved = ReservedBy(settings.Name, settings)) {
        return Error{"The name setting \"" + settings.Name + "\" is " + *reserved +
                     "; choose another name."};
    }
    return {};
}

std::string ExportNameFromPath(std::string_view path) {
    const std::size_t slash = path.find_last_of("/\\");
    std::string_view base = slash == std::string_view::npos ? path : path.substr(slash + 1);
    if (const std::size_t dot = base.rfind('.'); dot != std::string_view::npos && dot > 0) {
        base = base.substr(0, dot);
    }
    std::string name;
    for (const char c : base) {
        const bool keep =
            (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
        name += keep ? c : '_';
    }
    if (name.find_first_not_of('_') == std::string::npos) {
        return "map";
    }
    if (name.front() >= '0' && name.front() <= '9') {
        name = "map_" + name;
    }
    name.resize(std::min(name.size(), ExportNameMaxLength));
    return name;
}

std::string EffectiveExportName(const ExportSettings& settings, std::string_view outputPath) {
    if (!settings.Name.empty()) {
        return settings.Name;
    }
    std::string name = ExportNameFromPath(outputPath);
    // A file called int.c, or lda.s for ca65, still gets a name that builds.
    if (ReservedBy(name, settings)) {
        name.resize(std::min(name.size(), ExportNameMaxLength - 4));
        name += "_map";
    }
    return name;
}

std::string DescribeExportSettings(const ExportSettings& settings) {
    std::string line;
    for (const std::string_view name : SettingNames) {
        if (!ShapesTheBytes(settings, name)) {
            continue;
        }
        std::string text = ExportSettingText(settings, name);
        if (name == "screen") {
            text = ScreenText(EffectiveScreen(settings));
        } else if (name == "numbering") {
            text = ChoiceText(EffectiveNumbering(settings), NumberingChoices);
        } else if (name == "bpp") {
            text = std::to_string(EffectiveBpp(settings));
        }
        line += (line.empty() ? "" : ", ") + std::string(name) + " " + text;
    }
    return line;
}

} // namespace tessra
