#include "core/export/hardware_map.h"

#include "core/export/console_limits.h"

#include <array>
#include <string>

namespace tessra {

namespace {

// Where one console keeps each field of a map entry; how far each field goes
// is the console's (ConsoleLimitsOf). A bit of -1: the console has no such field.
struct EntryFields {
    int bankBit; // where the tile number's bit 8 goes, or -1 to stay in place
    int paletteShift;
    int priorityBit;        // -1: the priority is not the map's, and is left out
    int hflipBit, vflipBit; // -1: the map cannot flip
};

// In ExportHardware order, from snes. The Game Boy Color's tile byte is the
// low byte and its attribute byte the high one; the NES keeps the palette
// above the tile byte until its attribute table is made.
constexpr std::array<EntryFields, 6> Consoles = {{
    {-1, 10, 13, 14, 15}, // snes
    {-1, 12, -1, 10, 11}, // gba
    {-1, 13, 15, 11, 12}, // md
    {11, 8, 15, 13, 14},  // gbc: palette 0-2, bank 3, hflip 5, vflip 6, priority 7
    {-1, 8, -1, -1, -1},  // nes
    {-1, 8, -1, -1, -1},  // gb: the tile number alone
}};

const EntryFields& FieldsOf(ExportHardware hardware) {
    return Consoles[static_cast<std::size_t>(hardware) - 1];
}

constexpr std::array<const char*, 4> QuarterNames = {"top-left", "top-right", "bottom-left",
                                                     "bottom-right"};

std::uint32_t Bit(bool set, int at) {
    return set && at >= 0 ? 1u << at : 0u;
}

std::uint32_t PackEntry(const EntryFields& f, const QuarterEntry& q, const TileAttributes& a) {
    const auto n = static_cast<std::uint32_t>(q.number);
    const std::uint32_t tile = f.bankBit < 0 ? n : (n & 0xFF) | (n >> 8) << f.bankBit;
    return tile | static_cast<std::uint32_t>(a.Palette) << f.paletteShift |
           Bit(a.Priority, f.priorityBit) | Bit(q.hflip, f.hflipBit) | Bit(q.vflip, f.vflipBit);
}

std::string NumberingText(const ExportSettings& settings) {
    return EffectiveNumbering(settings) == ExportNumbering::Image ? "image" : "metatile";
}

// Every tile number's four entries, in quarter order, or its problem.
struct TileEntries {
    std::array<std::array<EntryValue, 4>, TileCount> quarters{};
    std::array<bool, TileCount> refused{};
};

TileEntries MakeTileEntries(const TileAttributeTable& attributes, const ExportSettings& settings,
                            const QuarterTable& table) {
    const EntryFields& f = FieldsOf(settings.Hardware);
    TileEntries entries;
    for (int tile = 0; tile < TileCount; ++tile) {
        const TileAttributes& a = attributes[tile];
        entries.refused[tile] = !HardwareTileProblem(settings, tile, a).empty();
        for (int q = 0; q < 4; ++q) {
            entries.quarters[tile][q] = static_cast<EntryValue>(PackEntry(f, table[tile][q], a));
        }
    }
    return entries;
}

Error CellRefusal(const ExportSettings& settings, const TileAttributeTable& attributes, int x,
                  int y, int tile) {
    return Error{"Cell (" + std::to_string(x) + ", " + std::to_string(y) + "), tile " +
                 std::to_string(tile) + ", " +
                 HardwareTileProblem(settings, tile, attributes[tile])};
}

std::vector<std::uint8_t> ByteOfEach(std::span<const EntryValue> values, int shift) {
    std::vector<std::uint8_t> bytes(values.size());
    for (std::size_t i = 0; i < values.size(); ++i) {
        bytes[i] = static_cast<std::uint8_t>(values[i] >> shift);
    }
    return bytes;
}

// Each byte covers 4 x 4 entries, two bits a cell from the top-left; the last
// row covers only the screen's last two entry rows. The screen's entries are
// in rows or in columns.
void AppendNesAttributeTable(std::vector<std::uint8_t>& out, std::span<const EntryValue> screen,
                             ExportScreen size, bool rows) {
    for (int j = 0; j < 8; ++j) {
        for (int i = 0; i < 8; ++i) {
            std::uint8_t byte = 0;
            for (int q = 0; q < 4; ++q) {
                const int x = 4 * i + 2 * (q % 2), y = 4 * j + 2 * (q / 2);
                if (y < size.H) {
                    const EntryValue entry = screen[rows ? y * size.W + x : x * size.H + y];
                    byte |= static_cast<std::uint8_t>(((entry >> 8) & 3) << (2 * q));
                }
            }
            out.push_back(byte);
        }
    }
}

std::vector<std::uint8_t> PackNes(const OrderedEntries& entries, ExportScreen size, bool rows) {
    const std::size_t perScreen = static_cast<std::size_t>(size.W) * size.H;
    std::vector<std::uint8_t> out;
    out.reserve(entries.Values.size() / perScreen * (perScreen + 64));
    for (std::size_t at = 0; at < entries.Values.size(); at += perScreen) {
        const auto screen = std::span(entries.Values).subspan(at, perScreen);
        const auto tiles = ByteOfEach(screen, 0);
        out.insert(out.end(), tiles.begin(), tiles.end());
        AppendNesAttributeTable(out, screen, size, rows);
    }
    return out;
}

} // namespace

int QuarterTileNumber(ExportNumbering numbering, int tile, int dx, int dy) {
    if (numbering == ExportNumbering::Metatile) {
        return 4 * tile + 2 * dy + dx;
    }
    return 64 * (tile / 16) + 32 * dy + 2 * (tile % 16) + dx;
}

TileQuarter QuarterOfTileNumber(ExportNumbering numbering, int number) {
    if (numbering == ExportNumbering::Metatile) {
        return {number / 4, number % 4};
    }
    return {16 * (number / 64) + number % 32 / 2, 2 * (number / 32 % 2) + number % 2};
}

QuarterTable NumberedQuarters(const TileAttributeTable& attributes,
                              const ExportSettings& settings) {
    QuarterTable table{};
    for (int tile = 0; tile < TileCount; ++tile) {
        const TileAttributes& a = attributes[tile];
        for (int q = 0; q < 4; ++q) {
            // A flipped tile shows its opposite quarter here.
            const int dx = a.Hflip ? 1 - q % 2 : q % 2, dy = a.Vflip ? 1 - q / 2 : q / 2;
            table[tile][q] = {QuarterTileNumber(EffectiveNumbering(settings), tile, dx, dy) +
                                  settings.TileBase,
                              a.Hflip, a.Vflip};
        }
    }
    return table;
}

std::string HardwareTileProblem(const ExportSettings& settings, int tile, const TileAttributes& a) {
    const ConsoleLimits& console = ConsoleLimitsOf(settings.Hardware);
    const std::string hardware(console.name);
    const std::string palettes = console.paletteLimit == 1
                                     ? "palette 0 only"
                                     : "palettes 0 to " + std::to_string(console.paletteLimit - 1);
    if (a.Palette >= console.paletteLimit) {
        return "has palette " + std::to_string(a.Palette) + ", but the " + hardware +
               " map holds " + palettes + "; change the palette in tile " + std::to_string(tile) +
               "'s attributes.";
    }
    if ((a.Hflip || a.Vflip) && !console.flips) {
        return "is flipped, but the " + hardware + " map has no flip bits; clear hflip and vflip " +
               "in tile " + std::to_string(tile) + "'s attributes.";
    }
    if (EffectiveNumbering(settings) == ExportNumbering::Unique) {
        return {}; // the stored tiles are counted once they are known
    }
    const int tileLimit = console.tileLimit - 1;
    for (int q = 0; q < 4; ++q) {
        const int number =
            QuarterTileNumber(EffectiveNumbering(settings), tile, q % 2, q / 2) + settings.TileBase;
        if (number > tileLimit) {
            return "gives 8 x 8 tile " + std::to_string(number) + " in its " + QuarterNames[q] +
                   " quarter (numbering " + NumberingText(settings) + ", tile-base " +
                   std::to_string(settings.TileBase) + "), but the " + hardware +
                   " map holds tiles 0 to " + std::to_string(tileLimit) + ".";
        }
    }
    return {};
}

Status CheckHardwareCells(const MapGrid& map, const TileAttributeTable& attributes,
                          const ExportSettings& settings) {
    std::array<bool, TileCount> refused{};
    for (int tile = 0; tile < TileCount; ++tile) {
        refused[tile] = !HardwareTileProblem(settings, tile, attributes[tile]).empty();
    }
    const ExportRegion& region = settings.Region;
    for (int y = region.Y; y < region.Y + region.H; ++y) {
        const std::uint8_t* row = map.data() + MapGrid::Index(region.X, y);
        for (int i = 0; i < region.W; ++i) {
            if (refused[row[i]]) {
                return CellRefusal(settings, attributes, region.X + i, y, row[i]);
            }
        }
    }
    return {};
}

Result<EntryGrid> MakeHardwareGrid(const MapGrid& map, const TileAttributeTable& attributes,
                                   const ExportSettings& settings, const QuarterTable* unique) {
    const TileEntries entries = MakeTileEntries(
        attributes, settings, unique ? *unique : NumberedQuarters(attributes, settings));
    const ExportRegion& region = settings.Region;
    EntryGrid grid{2 * region.W, 2 * region.H, {}};
    grid.Values.resize(static_cast<std::size_t>(grid.Width) * grid.Height);
    for (int y = 0; y < region.H; ++y) {
        const std::uint8_t* row = map.data() + MapGrid::Index(region.X, region.Y + y);
        EntryValue* top = grid.Values.data() + static_cast<std::size_t>(2 * y) * grid.Width;
        EntryValue* bottom = top + grid.Width;
        for (int i = 0; i < region.W; ++i) {
            const int tile = row[i];
            if (entries.refused[tile]) {
                return CellRefusal(settings, attributes, region.X + i, region.Y + y, tile);
            }
            const auto& q = entries.quarters[tile];
            top[2 * i] = q[0], top[2 * i + 1] = q[1];
            bottom[2 * i] = q[2], bottom[2 * i + 1] = q[3];
        }
    }
    return grid;
}

std::vector<ExportArray> PackHardwareEntries(const OrderedEntries& entries,
                                             const ExportSettings& settings) {
    switch (settings.Hardware) {
    case ExportHardware::Snes:
    case ExportHardware::Gba:
        return ArrayList(ExportArray{"", PackEntries(entries.Values, ExportEntry::U16Le)});
    case ExportHardware::Md:
        return ArrayList(ExportArray{"", PackEntries(entries.Values, ExportEntry::U16Be)});
    case ExportHardware::Gbc:
        return ArrayList(ExportArray{"", ByteOfEach(entries.Values, 0)},
                         ExportArray{"_attr", ByteOfEach(entries.Values, 8)});
    case ExportHardware::Gb:
        return ArrayList(ExportArray{"", ByteOfEach(entries.Values, 0)});
    case ExportHardware::Nes:
        return ArrayList(ExportArray{
            "", PackNes(entries, EffectiveScreen(settings), settings.Order == ExportOrder::Rows)});
    case ExportHardware::None:
        break;
    }
    return {};
}

} // namespace tessra
