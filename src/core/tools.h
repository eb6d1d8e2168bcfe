#pragma once

#include "core/editor_state.h"
#include "core/map_grid.h"
#include "core/map_view.h"

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

struct MapCell {
    int x, y;
};

// The map cell under a point of the view. Points left of or above the view
// give negative cells; nothing is clamped.
MapCell CellUnderPoint(double X, double Y, int zoomMode, int scrollX, int scrollY);

// "X: 5  Y: 12", "X:-1  Y: 0".
std::string CoordinateReadout(int mx, int my);

// The map view's size in pixels: 512 x 448 until the window grows.
struct ViewSize {
    int width = ViewWidth, height = ViewHeight;
};

// Whether a point lies on the view.
bool InsideView(double X, double Y, ViewSize view = {});

// What the coordinate label shows with the pointer at a point: the cell under
// it, or nothing when the point is off the view.
std::string ReadoutAt(double X, double Y, int zoomMode, int scrollX, int scrollY,
                      ViewSize view = {});

// The cells of the straight line from one cell to another, both included, one
// for each step along the longer axis (Bresenham's line).
std::vector<MapCell> CellLine(MapCell from, MapCell to);

// The tools. Each returns whether a cell changed; cells outside the grid are
// skipped, and a tile outside 0..255 changes nothing.
bool Draw(MapGrid& map, int x, int y, int tile);
bool Erase(MapGrid& map, int x, int y); // writes tile 0
// Every cell reachable from (x, y) through edge neighbours holding its value.
bool FloodFill(MapGrid& map, int x, int y, int tile);
// The rubber stamp with its top-left cell at (x, y), clipped at the grid's edges.
bool StampAt(MapGrid& map, int x, int y, const EditorState& state);
std::optional<std::int16_t> PickTile(const MapGrid& map, int x, int y);

// One tool of the tool selector: what the window shows and binds, what the
// undo step is called, and what a left press or drag over a cell does.
struct ToolInfo {
    Tool id;
    const char* caption;   // the button's tip: "Draw", "Floodfill", "R.Stamp", "Erase"
    const char* stepLabel; // "Draw", "Fill", "Stamp", "Erase"
    char key;              // the letter key that selects it
    bool (*apply)(EditorState& state, MapCell cell); // whether a cell changed
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
