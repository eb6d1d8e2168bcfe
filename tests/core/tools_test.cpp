#include "core/tools.h"

#include <algorithm>
#include <array>
#include <gtest/gtest.h>
#include <queue>
#include <random>
#include <tuple>

using namespace tessra;

namespace {

// Plain breadth-first fill: the rule the scanline fill must agree with.
MapGrid ReferenceFill(MapGrid map, int x, int y, std::uint8_t value) {
    const std::uint8_t target = map(x, y);
    std::queue<std::pair<int, int>> open;
    for (open.push({x, y}), map(x, y) = value; !open.empty(); open.pop()) {
        const auto [cx, cy] = open.front();
        for (const auto& [nx, ny] :
             {std::pair{cx - 1, cy}, {cx + 1, cy}, {cx, cy - 1}, {cx, cy + 1}}) {
            if (MapGrid::Contains(nx, ny) && map(nx, ny) == target) {
                map(nx, ny) = value;
                open.push({nx, ny});
            }
        }
    }
    return map;
}

long CountOf(const MapGrid& map, std::uint8_t tile) {
    return std::count(map.data(), map.data() + CellCount, tile);
}

} // namespace

TEST(Tools, CellUnderPointAndReadout) {
    struct Case {
        double x, y;
        int zoomMode, scrollX, scrollY;
        const char* readout;
    };
    const Case cases[] = {
        {31.9, 0, 0, 0, 0, "X: 1  Y: 0"},     {511, 447, 3, 252, 252, "X: 255  Y: 255"},
        {-0.5, -16.5, 0, 0, 0, "X:-1  Y:-2"}, {32, 95, 1, 10, 20, "X: 11  Y: 22"},
        {600, 10, 2, 248, 0, "X: 257  Y: 0"},
    };
    for (const Case& c : cases) {
        const MapCell cell = CellUnderPoint(c.x, c.y, c.zoomMode, c.scrollX, c.scrollY);
        EXPECT_EQ(CoordinateReadout(cell.x, cell.y), c.readout);
    }
}

TEST(Tools, DrawAndEraseStayInsideTheGridAndTileRange) {
    MapGrid map;
    EXPECT_TRUE(Draw(map, 255, 255, 9));
    EXPECT_FALSE(Draw(map, 255, 255, 9));
    for (const auto& [x, y, tile] : {std::tuple{256, 0, 1}, {0, -1, 1}, {0, 0, 256}, {0, 0, -1}}) {
        EXPECT_FALSE(Draw(map, x, y, tile) || FloodFill(map, x, y, tile));
    }
    EXPECT_TRUE(Erase(map, 255, 255));
    EXPECT_EQ(map, MapGrid{});
}

TEST(Tools, FloodFillStopsAtRingsEvenDiagonalOnesAndReachesBeyondTheView) {
    MapGrid square, diamond, blank;
    square.Fill(3);
    diamond.Fill(3);
    for (int i = -5; i <= 5; ++i) {
        square(15 + i, 10) = square(15 + i, 20) = square(10, 15 + i) = square(20, 15 + i) = 7;
    }
    for (int dx = -6; dx <= 6; ++dx) { // cells touching only at corners
        const int dy = 6 - std::abs(dx);
        diamond(100 + dx, 100 + dy) = diamond(100 + dx, 100 - dy) = 7;
    }
    struct Case {
        MapGrid map;
        int x, y;
        long filled;
    };
    for (Case c : {Case{square, 15, 15, 81}, {diamond, 100, 100, 61}, {blank, 0, 0, CellCount}}) {
        EXPECT_TRUE(FloodFill(c.map, c.x, c.y, 4));
        EXPECT_EQ(CountOf(c.map, 4), c.filled);
        EXPECT_FALSE(FloodFill(c.map, c.x, c.y, 4));
    }
}

// Random two-value maps are mazes with every turn a scanline fill can get
// wrong: U shapes, and runs that must be entered again from below.
TEST(Tools, FloodFillAgreesWithBreadthFirst) {
    std::mt19937 random(7);
    for (int density : {30, 45, 55, 70}) {
        MapGrid map;
        std::generate_n(map.data(), CellCount, [&] { return random() % 100 < unsigned(density); });
        for (const auto& [x, y] : {std::pair{128, 128}, {0, 255}, {255, 0}}) {
            MapGrid filled = map;
            FloodFill(filled, x, y, 2);
            EXPECT_EQ(filled, ReferenceFill(map, x, y, 2)) << density << "% at " << x << "," << y;
        }
    }
}

TEST(Tools, StampWritesEveryCellAndIsClippedAtTheEdges) {
    EditorState state;
    state.StampSizeIndexX = 1; // 3 x 2, cell (i, j) holding 10 i + j
    for (int i = 0; i < 3; ++i) {
        StampCell(state.StampData, i, 1) = static_cast<std::int16_t>(10 * i + 1);
        StampCell(state.StampData, i, 0) = static_cast<std::int16_t>(10 * i);
    }
    struct Case {
        int x, y;
        std::vector<std::array<int, 3>> written; // x, y, tile
    };
    const Case cases[] = {
        {254, 255, {{254, 255, 0}, {255, 255, 10}}},
        {-2, -1, {{0, 0, 21}}},
        {5, 7, {{5, 7, 0}, {6, 7, 10}, {7, 7, 20}, {5, 8, 1}, {6, 8, 11}, {7, 8, 21}}},
    };
    for (const Case& c : cases) {
        MapGrid map, expected;
        map.Fill(99);
        expected.Fill(99);
        for (const auto& [x, y, tile] : c.written) {
            expected(x, y) = static_cast<std::uint8_t>(tile);
        }
        EXPECT_TRUE(StampAt(map, c.x, c.y, state));
        EXPECT_EQ(map, expected) << c.x << "," << c.y;
    }
}

TEST(Tools, PressesActByButtonAndTool) {
    EditorState state;
    state.MapData(7, 3) = 37;
    state.CurrentTool = ToolFloodfill;
    PressOutcome out = HandleEditFieldPress(state, RightButton, 7 * 16 + 3, 3 * 16, 0, 0);
    EXPECT_EQ(out.readout, "X: 7  Y: 3");
    EXPECT_EQ(out.pickedTile, 37);
    EXPECT_FALSE(out.redraw);
    EXPECT_EQ(std::tuple(state.SelectedTile, state.CurrentTool), std::tuple(37, ToolDraw));

    state.ZoomMode = 1; // Draw at 2x, scrolled, into cell (11, 22)
    out = HandleEditFieldPress(state, LeftButton, 32, 95, 10, 20);
    EXPECT_TRUE(out.redraw && out.changed);
    EXPECT_EQ(state.MapData(11, 22), 37);

    // Both buttons, a pick off the grid, or a tile past 255: nothing changes.
    const EditorState before = state;
    out = HandleEditFieldPress(state, LeftButton | RightButton, 0, 0, 0, 0);
    EXPECT_EQ(out.readout, "X: 0  Y: 0");
    EXPECT_FALSE(out.redraw || out.changed || out.pickedTile);
    EXPECT_FALSE(HandleEditFieldPress(state, RightButton, -1, 0, 0, 0).pickedTile);
    state.SelectedTile = 300;
    out = HandleEditFieldPress(state, LeftButton, 0, 0, 0, 0);
    EXPECT_TRUE(out.redraw && !out.changed);
    EXPECT_EQ(state.MapData, before.MapData);

    state.CurrentTool = ToolErase;
    EXPECT_TRUE(HandleEditFieldPress(state, LeftButton, 32, 64, 10, 20).changed);
    EXPECT_EQ(state.MapData(11, 22), 0);
}
