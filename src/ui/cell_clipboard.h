#pragma once

#include "core/base/result.h"
#include "core/edit/cell_block.h"

namespace tessra {

// Puts the block on the system clipboard in our own kind, for another
// running editor, and as CSV text, for a text editor or a spreadsheet.
void PutCellsOnClipboard(const CellBlock& block);

// The block on the clipboard: our own kind when it is there, else its text.
Result<CellBlock> CellsOnClipboard();

} // namespace tessra
