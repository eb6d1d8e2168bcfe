#include "core/edit/select_tool.h"

namespace tessra {

namespace {

MapCell Minus(MapCell a, MapCell b) {
    return {a.x - b.x, a.y - b.y};
}

// Puts the floating block down where it is; the selection becomes the cells it covers.
SelectOutcome PutDown(MapSelection& selection, MapGrid& map) {
    const FloatingBlock floating = std::move(*selection.floating);
    selection.floating.reset();
    SelectOutcome outcome{.view = true, .outline = true};
    outcome.changed = floating.source ? MoveCells(map, *floating.source, floating.at)
                                      : PasteCells(map, floating.block, floating.at);
    selection.rect =
        OnMap({floating.at.x, floating.at.y, floating.block.width, floating.block.height});
    return outcome;
}

} // namespace

const char* SelectStepLabel(const MapSelection& selection) {
    if (selection.floating) {
        return selection.floating->source ? "Move" : "Paste";
    }
    return "Select";
}

SelectOutcome SelectToolEvent(MapSelection& selection, MapGrid& map, PointerPhase phase,
                              MapCell cell) {
    if (selection.floating) {
        FloatingBlock& floating = *selection.floating;
        const bool pasting = !floating.source;
        if ((pasting && phase == PointerPhase::Press) ||
            (!pasting && phase == PointerPhase::Release)) {
            floating.at = Minus(cell, floating.grab);
            return PutDown(selection, map);
        }
        const MapCell at = Minus(cell, floating.grab);
        const bool moved = at.x != floating.at.x || at.y != floating.at.y;
        floating.at = at;
        return {.view = moved};
    }
    switch (phase) {
    case PointerPhase::Press:
        if (selection.rect.Contains(cell)) {
            const CellRect& rect = selection.rect;
            selection.floating = FloatingBlock{
                CopyCells(map, rect), {rect.x, rect.y}, rect, Minus(cell, {rect.x, rect.y})};
            return {};
        }
        selection.anchor = cell;
        selection.rect = RectBetween(cell, cell);
        return {.outline = true};
    case PointerPhase::Move:
        if (selection.anchor) {
            const CellRect rect = RectBetween(*selection.anchor, cell);
            const bool grew = !(rect == selection.rect);
            selection.rect = rect;
            return {.outline = grew};
        }
        return {};
    case PointerPhase::Release:
        if (!selection.anchor) {
            return {};
        }
        // A click that stays in one cell selects nothing.
        if (cell.x == selection.anchor->x && cell.y == selection.anchor->y) {
            selection.rect = {};
        } else {
            selection.rect = RectBetween(*selection.anchor, cell);
        }
        selection.anchor.reset();
        return {.outline = true};
    }
    return {};
}

void StartPaste(MapSelection& selection, CellBlock block, MapCell at) {
    selection.anchor.reset();
    selection.floating = FloatingBlock{std::move(block), at, std::nullopt, {0, 0}};
}

bool DropSelection(MapSelection& selection) {
    selection.anchor.reset();
    if (selection.floating) {
        selection.floating.reset();
        return true;
    }
    const bool had = !selection.rect.Empty();
    selection.rect = {};
    return had;
}

MapGrid WithFloatingBlock(const MapGrid& map, const FloatingBlock& floating) {
    MapGrid shown = map;
    if (floating.source) {
        ClearCells(shown, *floating.source);
    }
    PasteCells(shown, floating.block, floating.at);
    return shown;
}

} // namespace tessra
