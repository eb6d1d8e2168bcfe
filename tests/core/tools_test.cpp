#include "core/tools.h"

#include <algorithm>
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

} // namespace

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

// Rings hold a fill, a diagonal one too (its cells touch only at corners);
// random two-value maps are mazes with every turn a scanline fill can get
// wrong. Every fill, also of regions beyond the view, must match a plain one.
TEST(Tools, FloodFillAgreesWithBreadthFirst) {
    std::vector<MapGrid> maps(2);
    for (int i = -6; i <= 6; ++i) {
        maps[0](15 + i, 9) = maps[0](15 + i, 21) = maps[0](9, 15 + i) = maps[0](21, 15 + i) = 7;
        maps[1](100 + i, 106 - std::abs(i)) = maps[1](100 + i, 94 + std::abs(i)) = 7;
    }
    std::mt19937 random(7);
    for (int density : {30, 45, 55, 70}) {
        std::generate_n(maps.emplace_back().data(), CellCount,
                        [&] { return random() % 100 < unsigned(density); });
    }
    for (std::size_t m = 0; m < maps.size(); ++m) {
        for (const auto& [x, y] : {std::pair{15, 15}, {100, 100}, {0, 255}, {255, 0}}) {
            MapGrid filled = maps[m];
            EXPECT_TRUE(FloodFill(filled, x, y, 2));
            EXPECT_TRUE(filled == ReferenceFill(maps[m], x, y, 2))
                << "map " << m << " at " << x << "," << y;
        }
    }
}

TEST(Tools, StampWritesEveryCellAndIsClippedAtTheEdges) {
    EditorState state;
    state.StampSizeIndexX = 1; // 3 x 2, cell (i, j) holding 10 i + j
    for (int n = 0; n < 6; ++n) {
        StampCell(state.StampData, n % 3, n / 3) = static_cast<std::int16_t>(n % 3 * 10 + n / 3);
    }
    for (const auto& [x, y] : {std::pair{254, 255}, {-2, -1}, {5, 7}}) {
        MapGrid map, expected;
        map.Fill(99);
        expected.Fill(99);
        for (int n = 0; n < 6; ++n) {
            if (MapGrid::Contains(x + n % 3, y + n / 3)) {
                expected(x + n % 3, y + n / 3) = static_cast<std::uint8_t>(n % 3 * 10 + n / 3);
            }
        }
        EXPECT_TRUE(StampAt(map, x, y, state));
        EXPECT_EQ(map, expected) << x << "," << y;
    }
}

// A press acts on the cell under the point at any zoom and scroll, but not
// off the grid, and not with a tile past 255.
TEST(Tools, PressesActOnTheCellUnderThePoint) {
    EditorState state;
    state.SelectedTile = 37;
    const struct {
        double x, y;
        int zoomMode, scrollX, scrollY;
        const char* readout;
        bool changed;
    } cases[] = {
        {31.9, 0, 0, 0, 0, "X: 1  Y: 0", true},
        {-0.5, -16.5, 0, 0, 0, "X:-1  Y:-2", false},
        {32, 95, 1, 10, 20, "X: 11  Y: 22", true},
    };
    for (const auto& c : cases) {
        state.ZoomMode = c.zoomMode;
        const PressOutcome out =
            HandleEditFieldPress(state, LeftButton, c.x, c.y, c.scrollX, c.scrollY);
        EXPECT_EQ(out.readout, c.readout);
        EXPECT_EQ(out.changed, c.changed) << c.readout;
    }
    EXPECT_TRUE(state.MapData(1, 0) == 37 && state.MapData(11, 22) == 37);
    state.SelectedTile = 300;
    EXPECT_FALSE(HandleEditFieldPress(state, LeftButton, 0, 0, 0, 0).changed);
    state.CurrentTool = ToolErase;
    EXPECT_TRUE(HandleEditFieldPress(state, LeftButton, 32, 64, 10, 20).changed);
    EXPECT_EQ(state.MapData(11, 22), 0);
}
