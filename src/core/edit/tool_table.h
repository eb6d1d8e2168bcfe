#pragma once

#include "core/edit/map_tools.h"
#include "core/model/editor_state.h"
#include "core/render/view_point.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tessra {

// The mouse buttons as the map view's handlers see them; a move reports the
// sum of the buttons held.
inline constexpr int LeftButton = 1;
inline constexpr int RightButton = 2;

// One tool of the tool selector: what the window shows and binds, what the
// undo step is called, and what a left press or drag over a cell does.
struct ToolInfo {
    Tool id;
    const char* caption;   // the button's tip: "Draw", "Floodfill", "R.Stamp", "Erase", "Select"
    const char* stepLabel; // "Draw", "Fill", "Stamp", "Erase", "Select"
    char key;              // the letter key that selects it
    // Whether a cell changed; none for Select, whose presses the window hands
    // to SelectToolEvent.
    bool (*apply)(EditorState& state, MapCell cell);
    bool drawsLines; // a drag paints every cell between two pointer positions
};

// Every tool, in button order (indexed by CurrentTool).
std::span<const ToolInfo> ToolTable();
// The tool a CurrentTool names; values outside the table read as Draw.
const ToolInfo& ToolFor(int tool);

// One press-and-drag over the map view: the cell its last position acted on,
// where a tool that draws lines goes on from. Empty at a press, and once the
// pointer has left the view.
struct Stroke {
    std::optional<MapCell> last;
};

// What one press or move over the map view asks of its window.
struct PressOutcome {
    std::string readout;                    // for lblMapCoordinate: empty off the view
    bool redraw = false;                    // RedrawMapView, after a left-button action
    std::optional<std::int16_t> pickedTile; // right button: run the palette pick for it
    bool changed = false;                   // MapData changed
};

// picEditField_MouseDown and _MouseMove: the left button alone acts by
// CurrentTool; the right button alone picks the cell's tile into SelectedTile
// and selects Draw (nothing happens over a cell outside the grid). Only points
// on the view act: a drag that leaves it does nothing more until it comes
// back, and a line from its last position stops at the view's edge.
PressOutcome HandleEditFieldPress(EditorState& state, int button, double X, double Y, int scrollX,
                                  int scrollY, Stroke& stroke, ViewSize view = {});

} // namespace tessra
