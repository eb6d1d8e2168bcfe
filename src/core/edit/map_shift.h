#pragma once

#include "core/base/result.h"
#include "core/model/map_grid.h"

#include <cstdint>
#include <string_view>

namespace tessra {

// A tile number box, read by WholeNumberBox: refused unless it holds a whole
// number 0..255, with "<name> must be a tile number from 0 to 255."
Result<std::uint8_t> ReadTileBox(std::string_view text, std::string_view name);

// Tile Shift: every cell holding a tile From..To (both included) gets Offset added.
struct TileShift {
    std::uint8_t From = 0;
    std::uint8_t To = 0;
    int Offset = 0;
};

// Reads the From, To and Offset boxes, in that order. A From above To is taken
// as the range To..From. Offset must be -255..255.
Result<TileShift> ReadTileShift(std::string_view fromText, std::string_view toText,
                                std::string_view offsetText);

// Applies a Tile Shift; returns how many cells changed. Refused, with no cell
// changed, when a cell's new tile would leave 0..255; the message names the
// tile that would.
Result<int> ShiftTiles(MapGrid& map, const TileShift& shift);

// Map Shift: cell (x, y) moves to (x + DX, y + DY). With Wrap, cells pushed over
// one edge come back at the opposite one; without it they are lost and the
// cells left uncovered get FillTile.
struct MapShift {
    int DX = 0;
    int DY = 0;
    bool Wrap = true;
    std::uint8_t FillTile = 0;
};

// Reads the X and Y boxes (-255..255 each) and, when not wrapping, the fill tile box.
Result<MapShift> ReadMapShift(std::string_view dxText, std::string_view dyText, bool wrap,
                              std::string_view fillText);

// Any DX and DY: wrapping takes them modulo 256, and filling by 256 or more
// leaves only FillTile.
void ShiftMap(MapGrid& map, const MapShift& shift);

} // namespace tessra
