#pragma once

#include "core/export_settings.h"
#include "core/map_grid.h"
#include "core/result.h"

#include <cstdint>
#include <span>
#include <vector>

namespace tessra {

// The value of every entry of the region, row by row. One cell gives one
// entry: its tile number plus the offset.
struct EntryGrid {
    int Width = 0;
    int Height = 0;
    std::vector<std::uint32_t> Values;
};

// The largest value an entry of this size holds.
std::uint32_t EntryMaxValue(ExportEntry entry);

// The region's entries. A value outside 0..EntryMaxValue is refused, naming
// the first such cell in reading order. The settings must have passed
// CheckExportSettings.
Result<EntryGrid> MakeEntryGrid(const MapGrid& map, const ExportSettings& settings);

// Entry values in the order they are written: screen after screen, left to
// right and then top to bottom; inside a screen row after row (Rows) or
// column after column (Columns). A line is one row, or one column, of a screen.
struct OrderedEntries {
    std::vector<std::uint32_t> Values;
    int LineLength = 0;
};

// The screen must divide the grid.
OrderedEntries OrderEntries(const EntryGrid& grid, ExportScreen screen, ExportOrder order);

// One byte an entry, or two in the entry's byte order.
std::vector<std::uint8_t> PackEntries(std::span<const std::uint32_t> values, ExportEntry entry);

} // namespace tessra
