#pragma once

#include "core/base/result.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace tessra {

// The block of cells an export takes from the map.
struct ExportRegion {
    int X = 0;
    int Y = 0;
    int W = 256;
    int H = 256;
    bool operator==(const ExportRegion&) const = default;
};

// The size of one screen, in entries: cells, or 8 x 8 tiles with a hardware.
struct ExportScreen {
    int W = 0;
    int H = 0;
    bool operator==(const ExportScreen&) const = default;
};

// The enumerated settings; each enumerator's position matches its value in
// the choice tables below.
enum class ExportOrder { Rows, Columns };
enum class ExportEntry { U8, U16Le, U16Be };
enum class ExportCompression { None, Rle, Lz77 };
enum class ExportFormat { Raw, C, Asm, Csv };
enum class AsmSyntax { Ca65, Rgbds, Sdas, Gas };
enum class ExportHardware { None, Snes, Gba, Md, Gbc, Nes, Gb };
enum class ExportNumbering { Image, Metatile, Unique };

// How a map leaves the editor in a game's own layout. The defaults give the
// whole map, one byte a cell, row after row.
struct ExportSettings {
    ExportRegion Region;
    std::optional<ExportScreen> Screen; // none: the region's size
    ExportOrder Order = ExportOrder::Rows;
    int Offset = 0;
    ExportEntry Entry = ExportEntry::U8;
    // With a hardware, each cell becomes 2 x 2 entries of the console's own
    // map, and offset and entry give way to tile-base and the console's entry.
    ExportHardware Hardware = ExportHardware::None;
    std::optional<ExportNumbering> Numbering; // none: the hardware's own
    int TileBase = 0;
    bool Behaviour = false; // each cell's behaviour byte in place of its tile number
    ExportCompression Compress = ExportCompression::None;
    ExportFormat Format = ExportFormat::Raw;
    AsmSyntax Syntax = AsmSyntax::Ca65;
    std::string Name; // empty: made from the output file's name
    // The tile graphics and palettes in the console's own format, beside the
    // map; empty: not written.
    std::string Tiles;
    std::string Palettes;
    std::optional<int> Bpp;                // bits a pixel; none: the hardware's own
    std::optional<std::uint32_t> Backdrop; // 0xRRGGBB; none: tile 0's top-left pixel
    std::string PaletteFile;               // a GIMP palette fixing the colours and their order
    std::string NesPalette;                // 64 RGB colours in place of the built-in NES table
    // A tile bank shared with other maps: its tiles and colours keep their
    // numbers, and the tiles and palettes outputs are the bank's.
    std::string Bank;

    bool operator==(const ExportSettings&) const = default;
};

inline constexpr int ExportOffsetLimit = 65535;
inline constexpr int ExportTileBaseLimit = 2047; // the widest tile field, the Mega Drive's
inline constexpr std::size_t ExportNameMaxLength = 40;

// One value of an enumerated setting, as typed and as listed for the user.
struct ExportChoice {
    std::string_view value;
    std::string_view description;
};

// An enumerated setting: its name and its values in enumerator order.
struct ExportChoiceSetting {
    std::string_view name;
    std::span<const ExportChoice> choices;
};

// Every enumerated setting, in the order the help lists them.
std::span<const ExportChoiceSetting> ExportChoiceSettings();

// The names of every setting, in the order of the struct.
std::span<const std::string_view> ExportSettingNames();

// Whether a setting is a whole number, kept as a number in a profile.
bool IsNumberSetting(std::string_view name);

// Whether a setting names a file: a profile keeps it relative to the map's folder.
bool IsPathSetting(std::string_view name);

// Whether a setting is true or false: a bare option on the command line, a
// boolean in a profile.
bool IsFlagSetting(std::string_view name);

// Sets one setting from its text form, as the command line and the profile
// give it ("region" "0,0,32,30", "entry" "u16le"); an empty screen or name
// goes back to its default. A refusal names the setting and the values it
// takes; the settings are left as they were.
Status SetExportSetting(ExportSettings& settings, std::string_view name, std::string_view text);

// The text form of one setting, as SetExportSetting reads it back; empty for
// a screen or name left to follow the region or the output.
std::string ExportSettingText(const ExportSettings& settings, std::string_view name);

// The screen size the export uses: the given one, or the region's size in
// entries (32 x 30 for the NES, whose attribute tables follow its screens).
ExportScreen EffectiveScreen(const ExportSettings& settings);

// The 8 x 8 tile numbering the export uses: the given one, or unique with a
// bank, or the hardware's.
ExportNumbering EffectiveNumbering(const ExportSettings& settings);

// The bits a pixel the tile graphics use: the given one, or the hardware's
// (2 for nes, gb and gbc, 4 for snes, gba and md). With no hardware, 0.
int EffectiveBpp(const ExportSettings& settings);

// Whether the export reads the tiles' pictures: for tile graphics, palettes,
// numbering unique or a bank.
bool NeedsTilePictures(const ExportSettings& settings);

// Checks the settings against each other: the screen divides the region, csv
// is not compressed, the name suits the format and syntax, and no setting is
// given that the hardware, or its absence, leaves without effect.
Status CheckExportSettings(const ExportSettings& settings);

// A valid C identifier made from a file name: its base name without the
// extension, every other character _ , "map_" before a leading digit.
std::string ExportNameFromPath(std::string_view path);

// The symbol name the export uses: the given one, or one made from outputPath.
std::string EffectiveExportName(const ExportSettings& settings, std::string_view outputPath);

// One line of every setting's text, for the comments of generated files.
std::string DescribeExportSettings(const ExportSettings& settings);

} // namespace tessra
