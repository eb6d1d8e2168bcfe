#include "core/tools.h"

#include "core/map_view.h"
#include "core/palette.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace tessra {
namespace {

std::string SignedNumberText(int value) {
    return (value >= 0 ? " " : "") + std::to_string(value);
}

struct Seed {
    std::uint8_t x, y;
};

// Pushes one seed for each run of target cells in row[left..right].
void PushRuns(const std::uint8_t* row, int left, int right, int y, std::uint8_t target,
              std::vector<Seed>& seeds) {
    for (int x = left; x <= right; ++x) {
        if (row[x] == target) {
            seeds.push_back({static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y)});
            while (x < right && row[x + 1] == target) {
                ++x;
            }
        }
    }
}

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

constexpr std::array<ToolInfo, 4> Tools{{
    {ToolDraw, "Draw", "Draw", 'D', DrawTool, true},
    {ToolFloodfill, "Floodfill", "Fill", 'F', FillTool, false},
    {ToolStamp, "R.Stamp", "Stamp", 'S', StampTool, false},
    {ToolErase, "Erase", "Erase", 'E', EraseTool, true},
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

MapCell CellUnderPoint(double X, double Y, int zoomMode, int scrollX, int scrollY) {
    const int size = ZoomFor(zoomMode).cellSize;
    return {scrollX + FloorDiv(X, size), scrollY + FloorDiv(Y, size)};
}

std::string CoordinateReadout(int mx, int my) {
    return "X:" + SignedNumberText(mx) + "  Y:" + SignedNumberText(my);
}

bool InsideView(double X, double Y, ViewSize view) {
    return X >= 0 && X < view.width && Y >= 0 && Y < view.height;
}

std::string ReadoutAt(double X, double Y, int zoomMode, int scrollX, int scrollY, ViewSize view) {
    if (!InsideView(X, Y, view)) {
        return {};
    }
    const MapCell cell = CellUnderPoint(X, Y, zoomMode, scrollX, scrollY);
    return CoordinateReadout(cell.x, cell.y);
}

std::vector<MapCell> CellLine(MapCell from, MapCell to) {
    const int dx = std::abs(to.x - from.x), dy = -std::abs(to.y - from.y);
    const int sx = from.x < to.x ? 1 : -1, sy = from.y < to.y ? 1 : -1;
    std::vector<MapCell> cells;
    cells.reserve(static_cast<std::size_t>(std::max(dx, -dy)) + 1);
    // err is dx + dy scaled by twice the distance to the true line.
    for (int err = dx + dy;;) {
        cells.push_back(from);
        if (from.x == to.x && from.y == to.y) {
            return cells;
        }
        const int twice = 2 * err;
        if (twice >= dy) {
            err += dy;
            from.x += sx;
        }
        if (twice <= dx) {
            err += dx;
            from.y += sy;
        }
    }
}

bool Draw(MapGrid& map, int x, int y, int tile) {
    if (!MapGrid::Contains(x, y) || !IsTileNumber(tile) || map(x, y) == tile) {
        return false;
    }
    map(x, y) = static_cast<std::uint8_t>(tile);
    return true;
}

bool Erase(MapGrid& map, int x, int y) {
    return Draw(map, x, y, 0);
}

// Scanline fill: each popped seed fills its whole run in the row, then seeds
// the runs of target cells directly above and below it. Filled cells no longer
// match the target, so no cell is filled twice.
bool FloodFill(MapGrid& map, int x, int y, int tile) {
    if (!MapGrid::Contains(x, y) || !IsTileNumber(tile) || map(x, y) == tile) {
        return false;
    }
    const std::uint8_t target = map(x, y);
    const auto value = static_cast<std::uint8_t>(tile);
    std::vector<Seed> seeds;
    seeds.reserve(MapSize);
    seeds.push_back({static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y)});
    while (!seeds.empty()) {
        const Seed seed = seeds.back();
        seeds.pop_back();
        std::uint8_t* row = map.data() + MapGrid::Index(0, seed.y);
        if (row[seed.x] != target) {
            continue;
        }
        int left = seed.x;
        int right = seed.x;
        while (left > 0 && row[left - 1] == target) {
            --left;
        }
        while (right < MapSize - 1 && row[right + 1] == target) {
            ++right;
        }
        std::memset(row + left, value, static_cast<std::size_t>(right - left + 1));
        if (seed.y > 0) {
            PushRuns(row - MapSize, left, right, seed.y - 1, target, seeds);
        }
        if (seed.y < MapSize - 1) {
            PushRuns(row + MapSize, left, right, seed.y + 1, target, seeds);
        }
    }
    return true;
}

bool StampAt(MapGrid& map, int x, int y, const EditorState& state) {
    const int width = std::clamp(StampWidth(state), 0, StampMaxSize);
    const int height = std::clamp(StampHeight(state), 0, StampMaxSize);
    bool changed = false;
    for (int i = 0; i < width; ++i) {
        for (int j = 0; j < height; ++j) {
            changed |= Draw(map, x + i, y + j, StampCell(state.StampData, i, j));
        }
    }
    return changed;
}

std::optional<std::int16_t> PickTile(const MapGrid& map, int x, int y) {
    if (!MapGrid::Contains(x, y)) {
        return std::nullopt;
    }
    return map(x, y);
}

PressOutcome HandleEditFieldPress(EditorState& state, int button, double X, double Y, int scrollX,
                                  int scrollY, Stroke& stroke, ViewSize view) {
    const MapCell cell = CellUnderPoint(X, Y, state.ZoomMode, scrollX, scrollY);
    const bool inside = InsideView(X, Y, view);
    PressOutcome outcome;
    outcome.readout = inside ? CoordinateReadout(cell.x, cell.y) : std::string();
    if (button == LeftButton) {
        const ToolInfo& tool = ToolFor(state.CurrentTool);
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
