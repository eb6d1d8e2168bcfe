#pragma once

#include "core/base/result.h"
#include "core/export/export_settings.h"
#include "core/model/map_grid.h"
#include "core/model/tile_attributes.h"

#include <cstdint>
#include <span>
#include <vector>

namespace tessra {

// An entry's value: every entry, a console's included, fits 16 bits.
using EntryValue = std::uint16_t;

// The value of every entry of the region, row by row. One cell gives one
// entry: its tile number, or with behaviour its tile's behaviour byte, plus
// the offset; with a hardware, 2 x 2 entries of the console's map.
struct EntryGrid {
    int Width = 0;
    int Height = 0;
    std::vector<EntryValue> Values;
};

// The largest value an entry of this size holds.
std::uint32_t EntryMaxValue(ExportEntry entry);

// The region's entries. A value outside 0..EntryMaxValue is refused, naming
// the first such cell in reading order. The settings must have passed
// CheckExportSettings.
Result<EntryGrid> MakeEntryGrid(const MapGrid& map, const TileAttributeTable& attributes,
                                const ExportSettings& settings);

// Entry values in the order they are written: screen after screen, left to
// right and then top to bottom; inside a screen row after row (Rows) or
// column after column (Columns). A line is one row, or one column, of a screen.
struct OrderedEntries {
    std::vector<EntryValue> Values;
    int LineLength = 0;
};

// The screen must divide the grid. Values already in order are taken, not copied.
OrderedEntries OrderEntries(EntryGrid grid, ExportScreen screen, ExportOrder order);

// Calls visit(x, y) for each entry of a width x height grid in the order
// OrderEntries writes them, until visit returns false; nothing is copied.
template <class Visit>
void VisitInWrittenOrder(int width, int height, ExportScreen screen, ExportOrder order,
                         Visit visit) {
    const bool rows = order == ExportOrder::Rows;
    for (int top = 0; top < height; top += screen.H) {
        for (int left = 0; left < width; left += screen.W) {
            for (int line = 0; line < (rows ? screen.H : screen.W); ++line) {
                for (int along = 0; along < (rows ? screen.W : screen.H); ++along) {
                    if (!(rows ? visit(left + along, top + line)
                               : visit(left + line, top + along))) {
                        return;
                    }
                }
            }
        }
    }
}

// One byte an entry, or two in the entry's byte order.
std::vector<std::uint8_t> PackEntries(std::span<const EntryValue> values, ExportEntry entry);

} // namespace tessra
