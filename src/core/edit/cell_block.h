#pragma once

#include "core/model/map_grid.h"

#include <cstdint>
#include <vector>

namespace tessra {

// A rectangle of map cells: its top-left cell and its size in cells.
struct CellRect {
    int x = 0, y = 0, width = 0, height = 0;

    bool Empty() const { return width <= 0 || height <= 0; }
    bool Contains(MapCell cell) const {
        return cell.x >= x && cell.x < x + width && cell.y >= y && cell.y < y + height;
    }
    bool operator==(const CellRect&) const = default;
};

inline constexpr CellRect WholeMap{0, 0, MapSize, MapSize};

// The part of a rectangle that lies on the map; empty when none does.
CellRect OnMap(CellRect rect);
// The rectangle with two opposite corners at these cells, both included, cut to the map.
CellRect RectBetween(MapCell a, MapCell b);

// Cells taken off the map, row by row.
struct CellBlock {
    int width = 0, height = 0;
    std::vector<std::uint8_t> cells;

    std::uint8_t operator()(int i, int j) const {
        return cells[static_cast<std::size_t>(i) + static_cast<std::size_t>(j) * width];
    }
    bool Empty() const { return cells.empty(); }
    bool operator==(const CellBlock&) const = default;
};

// The cells of the rectangle's part on the map.
CellBlock CopyCells(const MapGrid& map, CellRect rect);
// Writes tile 0 into the rectangle's cells; whether any changed.
bool ClearCells(MapGrid& map, CellRect rect);
// Copies the cells, then clears them.
CellBlock CutCells(MapGrid& map, CellRect rect);
// Writes the block with its top-left cell at `at`, cut at the map's edges;
// whether any cell changed.
bool PasteCells(MapGrid& map, const CellBlock& block, MapCell at);
// Lifts the rectangle's cells and puts them down with their top-left cell at
// `to`, cut at the map's edges: the cells they leave and do not land on hold 0.
bool MoveCells(MapGrid& map, CellRect from, MapCell to);

} // namespace tessra
