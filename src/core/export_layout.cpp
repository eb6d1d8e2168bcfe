#include "core/export_layout.h"

#include <string>

namespace tessra {

namespace {

Error Overflow(const ExportSettings& settings, int x, int y, int tile) {
    const long value = static_cast<long>(tile) + settings.Offset;
    const bool small = settings.Entry == ExportEntry::U8;
    return Error{"The entry setting " + ExportSettingText(settings, "entry") + " holds 0 to " +
                 std::to_string(EntryMaxValue(settings.Entry)) + ", but cell (" +
                 std::to_string(x) + ", " + std::to_string(y) + ") gives " + std::to_string(value) +
                 " (tile " + std::to_string(tile) + " + offset " + std::to_string(settings.Offset) +
                 "); " +
                 (small ? "choose u16le or u16be, or another offset." : "choose another offset.")};
}

} // namespace

std::uint32_t EntryMaxValue(ExportEntry entry) {
    return entry == ExportEntry::U8 ? 0xFF : 0xFFFF;
}

Result<EntryGrid> MakeEntryGrid(const MapGrid& map, const ExportSettings& settings) {
    const ExportRegion& region = settings.Region;
    const long top = EntryMaxValue(settings.Entry);
    EntryGrid grid{region.W, region.H, {}};
    grid.Values.resize(static_cast<std::size_t>(region.W) * region.H);
    std::uint32_t* out = grid.Values.data();
    for (int y = region.Y; y < region.Y + region.H; ++y) {
        const std::uint8_t* row = map.data() + MapGrid::Index(region.X, y);
        for (int i = 0; i < region.W; ++i) {
            const long value = static_cast<long>(row[i]) + settings.Offset;
            if (value < 0 || value > top) {
                return Overflow(settings, region.X + i, y, row[i]);
            }
            *out++ = static_cast<std::uint32_t>(value);
        }
    }
    return grid;
}

OrderedEntries OrderEntries(const EntryGrid& grid, ExportScreen screen, ExportOrder order) {
    const bool rows = order == ExportOrder::Rows;
    OrderedEntries ordered{{}, rows ? screen.W : screen.H};
    ordered.Values.reserve(grid.Values.size());
    for (int top = 0; top < grid.Height; top += screen.H) {
        for (int left = 0; left < grid.Width; left += screen.W) {
            // The outer loop runs over lines, the inner one along a line.
            const int lines = rows ? screen.H : screen.W;
            for (int line = 0; line < lines; ++line) {
                for (int along = 0; along < ordered.LineLength; ++along) {
                    const int x = left + (rows ? along : line);
                    const int y = top + (rows ? line : along);
                    ordered.Values.push_back(
                        grid.Values[static_cast<std::size_t>(y) * grid.Width + x]);
                }
            }
        }
    }
    return ordered;
}

std::vector<std::uint8_t> PackEntries(std::span<const std::uint32_t> values, ExportEntry entry) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(values.size() * (entry == ExportEntry::U8 ? 1 : 2));
    for (const std::uint32_t value : values) {
        const auto low = static_cast<std::uint8_t>(value);
        const auto high = static_cast<std::uint8_t>(value >> 8);
        switch (entry) {
        case ExportEntry::U8:
            bytes.push_back(low);
            break;
        case ExportEntry::U16Le:
            bytes.insert(bytes.end(), {low, high});
            break;
        case ExportEntry::U16Be:
            bytes.insert(bytes.end(), {high, low});
            break;
        }
    }
    return bytes;
}

} // namespace tessra
