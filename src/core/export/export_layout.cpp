#include "core/export/export_layout.h"

#include "core/export/hardware_map.h"

#include <algorithm>
#include <array>
#include <string>

namespace tessra {

namespace {

Error Overflow(const ExportSettings& settings, const TileAttributeTable& attributes, int x, int y,
               int tile) {
    const int base = settings.Behaviour ? attributes[tile].Behaviour : tile;
    const long value = static_cast<long>(base) + settings.Offset;
    const bool small = settings.Entry == ExportEntry::U8;
    const std::string what = settings.Behaviour ? "behaviour " + std::to_string(base) +
                                                      " of tile " + std::to_string(tile)
                                                : "tile " + std::to_string(tile);
    return Error{"The entry setting " + ExportSettingText(settings, "entry") + " holds 0 to " +
                 std::to_string(EntryMaxValue(settings.Entry)) + ", but cell (" +
                 std::to_string(x) + ", " + std::to_string(y) + ") gives " + std::to_string(value) +
                 " (" + what + " + offset " + std::to_string(settings.Offset) + "); " +
                 (small ? "choose u16le or u16be, or another offset." : "choose another offset.")};
}

} // namespace

std::uint32_t EntryMaxValue(ExportEntry entry) {
    return entry == ExportEntry::U8 ? 0xFF : 0xFFFF;
}

Result<EntryGrid> MakeEntryGrid(const MapGrid& map, const TileAttributeTable& attributes,
                                const ExportSettings& settings) {
    if (settings.Hardware != ExportHardware::None) {
        return MakeHardwareGrid(map, attributes, settings);
    }
    // What each tile number writes, before the offset.
    std::array<long, TileCount> base{};
    for (int tile = 0; tile < TileCount; ++tile) {
        base[tile] = settings.Behaviour ? attributes[tile].Behaviour : tile;
    }
    const ExportRegion& region = settings.Region;
    const long top = EntryMaxValue(settings.Entry);
    EntryGrid grid{region.W, region.H, {}};
    grid.Values.resize(static_cast<std::size_t>(region.W) * region.H);
    EntryValue* out = grid.Values.data();
    for (int y = region.Y; y < region.Y + region.H; ++y) {
        const std::uint8_t* row = map.data() + MapGrid::Index(region.X, y);
        for (int i = 0; i < region.W; ++i) {
            const long value = base[row[i]] + settings.Offset;
            if (value < 0 || value > top) {
                return Overflow(settings, attributes, region.X + i, y, row[i]);
            }
            *out++ = static_cast<EntryValue>(value);
        }
    }
    return grid;
}

OrderedEntries OrderEntries(EntryGrid grid, ExportScreen screen, ExportOrder order) {
    const bool rows = order == ExportOrder::Rows;
    OrderedEntries ordered{{}, rows ? screen.W : screen.H};
    if (rows && screen.W == grid.Width) {
        ordered.Values = std::move(grid.Values); // one screen wide: the grid's own order
        return ordered;
    }
    ordered.Values.resize(grid.Values.size());
    EntryValue* out = ordered.Values.data();
    for (int top = 0; top < grid.Height; top += screen.H) {
        for (int left = 0; left < grid.Width; left += screen.W) {
            const EntryValue* corner =
                grid.Values.data() + static_cast<std::size_t>(top) * grid.Width + left;
            if (rows) {
                for (int line = 0; line < screen.H; ++line, out += screen.W) {
                    std::copy_n(corner + static_cast<std::size_t>(line) * grid.Width, screen.W,
                                out);
                }
                continue;
            }
            for (int line = 0; line < screen.W; ++line) {
                for (int along = 0; along < screen.H; ++along) {
                    *out++ = corner[static_cast<std::size_t>(along) * grid.Width + line];
                }
            }
        }
    }
    return ordered;
}

std::vector<std::uint8_t> PackEntries(std::span<const EntryValue> values, ExportEntry entry) {
    if (entry == ExportEntry::U8) {
        return std::vector<std::uint8_t>(values.begin(), values.end());
    }
    const bool lowFirst = entry == ExportEntry::U16Le;
    std::vector<std::uint8_t> bytes(values.size() * 2);
    std::uint8_t* out = bytes.data();
    for (const EntryValue value : values) {
        const auto low = static_cast<std::uint8_t>(value);
        const auto high = static_cast<std::uint8_t>(value >> 8);
        *out++ = lowFirst ? low : high;
        *out++ = lowFirst ? high : low;
    }
    return bytes;
}

} // namespace tessra
