#pragma once

#include "core/base/result.h"
#include "core/edit/cell_block.h"

#include <string>
#include <string_view>

namespace tessra {

// The clipboard's own kind of data for a block of cells, which carries it
// between two running editors.
inline constexpr const char* CellBlockMimeType = "application/x-tessra-cells";

// The block in that kind: its width and height as 16-bit little-endian
// numbers, then its cells row by row, one byte each.
std::string CellBlockBytes(const CellBlock& block);
Result<CellBlock> ReadCellBlockBytes(std::string_view bytes);

// The block as text for a text editor or a spreadsheet: one row of tile
// numbers a line, separated by commas.
std::string CellBlockCsv(const CellBlock& block);
// Takes such text back, with commas or tabs (a spreadsheet's copy) between
// numbers; blanks around a number and one separator at a line's end are
// allowed, blank lines are passed over. Every row must hold as many numbers
// as the first, each a whole number from 0 to 255, at most 256 of them each way.
Result<CellBlock> ReadCellBlockCsv(std::string_view text);

} // namespace tessra
