#pragma once

#include "core/edit/cell_block.h"
#include "core/model/map_grid.h"

#include <optional>

namespace tessra {

// A block that follows the pointer until a click or a release puts it down:
// one pasted from the clipboard, or the selection's cells being dragged.
struct FloatingBlock {
    CellBlock block;
    MapCell at;                     // where its top-left cell would land
    std::optional<CellRect> source; // the cells a drag lifted it from; none for a paste
    MapCell grab{0, 0};             // the pointer's cell, from the block's top-left
};

// The Select tool's state: the selected cells and what the left button is
// doing with them. Not part of the document: undo leaves it alone.
struct MapSelection {
    CellRect rect;                         // the selected cells; empty for none
    std::optional<FloatingBlock> floating; // a paste or a move under way
    std::optional<MapCell> anchor;         // the press a rectangle is dragged from
};

enum class PointerPhase { Press, Move, Release };

// What one pointer event over the map asks of the window.
struct SelectOutcome {
    bool view = false;    // the map or the floating block moved: redraw the view
    bool outline = false; // the selection's rectangle changed
    bool changed = false; // cells of the map changed
};

// The undo step a pointer event of the Select tool may close: "Paste" while a
// pasted block floats, "Move" while cells are dragged, else "Select" (which
// changes no cell, so leaves no step).
const char* SelectStepLabel(const MapSelection& selection);

// The Select tool under the left button, and a pasted block under the
// pointer whatever the tool. A pasted block follows every move and is put
// down by a press. Otherwise a press inside the selection lifts its cells and
// a release puts them down where they were dragged (the cells they leave hold
// 0); a press elsewhere starts a rectangle that follows the drag, and a click
// that does not leave its cell selects nothing.
SelectOutcome SelectToolEvent(MapSelection& selection, MapGrid& map, PointerPhase phase,
                              MapCell cell);

// Starts a paste: the block floats with its top-left at `at` until put down.
void StartPaste(MapSelection& selection, CellBlock block, MapCell at);
// Escape: drops a floating block (a dragged one goes back where it was) or,
// with none, the selection. Whether anything was dropped.
bool DropSelection(MapSelection& selection);

// The map as the view shows it while a block floats: the cells a drag lifted
// hold 0 and the block lies where it would land, as putting it down leaves it.
MapGrid WithFloatingBlock(const MapGrid& map, const FloatingBlock& floating);

} // namespace tessra
