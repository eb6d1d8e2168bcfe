#include "core/edit/tool_table.h"

#include "core/render/map_view.h"

#include <algorithm>
#include <array>
#include <vector>

namespace tessra {
namespace {

bool DrawTool(EditorState& state, MapCell cell) {
    return Draw(state.MapData, cell.x, cell.y, state.SelectedTile);
}
bool FillTool(EditorState& state, MapCell cell) {
    return FloodFill(state.MapData, cell.x, cell.y, state.SelectedTile);
}
bool StampTool(EditorState& state, MapCell cell) {
    return StampAt(state.MapData, cell.x, cell.y, state);
}
bool EraseTool(EditorState& state, MapCell cell) {
    return Erase(state.MapData, cell.x, cell.y);
}

// S is Select's, as in most editors; the rubber stamp takes the R of its caption.
constexpr std::array<ToolInfo, 5> Tools{{
    {ToolDraw, "Draw", "Draw", 'D', DrawTool, true},
    {ToolFloodfill, "Floodfill", "Fill", 'F', FillTool, false},
    {ToolStamp, "R.Stamp", "Stamp", 'R', StampTool, false},
    {ToolErase, "Erase", "Erase", 'E', EraseTool, true},
    {ToolSelect, "Select", "Select", 'S', nullptr, false},
}};

// Whether any part of a cell's square shows in the view.
bool CellInView(MapCell cell, int zoomMode, int scrollX, int scrollY, ViewSize view) {
    const int size = ZoomFor(zoomMode).cellSize;
    const int columns = (view.width + size - 1) / size;
    const int rows = (view.height + size - 1) / size;
    return cell.x >= scrollX && cell.x < scrollX + columns && cell.y >= scrollY &&
           cell.y < scrollY + rows;
}

// The cells a left press or move acts on: the one under the point, or for a
// tool that draws lines, every cell on the way from the stroke's last one.
std::vector<MapCell> CellsToPaint(const ToolInfo& tool, MapCell cell, bool inside,
                                  const Stroke& stroke, int zoomMode, int scrollX, int scrollY,
                                  ViewSize view) {
    if (!tool.drawsLines || !stroke.last) {
        return inside ? std::vector<MapCell>{cell} : std::vector<MapCell>{};
    }
    std::vector<MapCell> cells = CellLine(*stroke.last, cell);
    std::erase_if(cells,
                  [&](MapCell c) { return !CellInView(c, zoomMode, scrollX, scrollY, view); });
    return cells;
}

} // namespace

std::span<const ToolInfo> ToolTable() {
    return Tools;
}

const ToolInfo& ToolFor(int tool) {
    return tool >= 0 && tool < static_cast<int>(Tools.size()) ? Tools[tool] : Tools[ToolDraw];
}

PressOutcome HandleEditFieldPress(EditorState& state, int button, double X, double Y, int scrollX,
                                  int scrollY, Stroke& stroke, ViewSize view) {
    const MapCell cell = CellUnderPoint(X, Y, state.ZoomMode, scrollX, scrollY);
    const bool inside = InsideView(X, Y, view);
    PressOutcome outcome;
    outcome.readout = inside ? CoordinateReadout(cell.x, cell.y) : std::string();
    if (button == LeftButton) {
        const ToolInfo& tool = ToolFor(state.CurrentTool);
        if (tool.apply == nullptr) {
            return outcome;
        }
        const std::vector<MapCell> cells =
            CellsToPaint(tool, cell, inside, stroke, state.ZoomMode, scrollX, scrollY, view);
        for (const MapCell& c : cells) {
            outcome.changed |= tool.apply(state, c);
        }
        outcome.redraw = !cells.empty();
        stroke.last = inside ? std::optional(cell) : std::nullopt;
    } else if (button == RightButton && inside) {
        outcome.pickedTile = PickTile(state.MapData, cell.x, cell.y);
        if (outcome.pickedTile) {
            state.CurrentTool = ToolDraw;
            state.SelectedTile = *outcome.pickedTile;
        }
    }
    return outcome;
}

} // namespace tessra
