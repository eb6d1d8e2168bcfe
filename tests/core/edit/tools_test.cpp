#include "core/edit/stamp_builder.h"
#include "core/edit/tool_table.h"
#include "core/view_fixtures.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <queue>
#include <random>
#include <string>
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

// Each cell of a line is one step on from the last along the longer axis, and
// none lies half a cell or more off the true line.
TEST(Tools, CellLineFollowsTheTrueLine) {
    for (const auto& [from, to] : {std::pair<MapCell, MapCell>{{0, 0}, {9, 0}},
                                   {{5, 5}, {5, 5}},
                                   {{3, 9}, {3, -2}},
                                   {{10, 10}, {-5, 3}},
                                   {{0, 0}, {7, 7}},
                                   {{200, 3}, {1, 250}}}) {
        const std::vector<MapCell> cells = CellLine(from, to);
        const int dx = to.x - from.x, dy = to.y - from.y;
        const int steps = std::max(std::abs(dx), std::abs(dy));
        ASSERT_EQ(cells.size(), std::size_t(steps) + 1) << to.x << ',' << to.y;
        for (int i = 0; i <= steps; ++i) {
            const double t = steps ? double(i) / steps : 0;
            EXPECT_LE(std::abs(from.x + t * dx - cells[i].x), 0.5) << to.x << ',' << to.y;
            EXPECT_LE(std::abs(from.y + t * dy - cells[i].y), 0.5) << to.x << ',' << to.y;
        }
    }
}

// A left press and the moves of its drag, each on the view at the zoom and
// scroll of the case: what Draw, Erase and Stamp change, and what the readout
// says last. Only points on the view act, and a line stops at its edge.
TEST(Tools, DragsActOnTheViewOnly) {
    const struct {
        Tool tool;
        int zoomMode, scrollX, scrollY;
        const char* painted; // cells, by row
        const char* readout;
        std::vector<std::pair<double, double>> points;
    } cases[] = {
        // A fast move paints the line; erase too.
        {ToolDraw, 0, 0, 0, "0,0 1,1 2,1 3,2 4,2 5,3 6,3 ", "X: 6  Y: 3", {{8, 8}, {104, 56}}},
        {ToolErase, 1, 10, 20, "10,22 11,22 ", "X: 11  Y: 22", {{31.9, 95}, {32, 95}}},
        // A stamp only where the pointer is.
        {ToolStamp, 0, 0, 0, "0,0 1,0 3,0 4,0 0,1 1,1 3,1 4,1 ", "X: 3  Y: 0", {{8, 8}, {56, 8}}},
        // Leaving stops at the edge, coming back starts afresh.
        {ToolDraw,
         0,
         0,
         0,
         "1,0 30,0 31,0 ",
         "X: 1  Y: 0",
         {{488, 8}, {700, 8}, {800, 8}, {24, 8}}},
        // 8x shows half of the last row.
        {ToolDraw, 3, 0, 252, "0,252 0,253 0,254 0,255 ", "", {{8, 8}, {8, 447}, {8, 600}}},
        {ToolDraw, 0, 0, 0, "", "", {{-0.5, -16.5}}}, // a press off the view
    };
    for (const auto& c : cases) {
        EditorState state;
        state.ZoomMode = c.zoomMode;
        state.CurrentTool = c.tool;
        state.StampSizeIndexX = state.StampSizeIndexY = 0; // 2 x 2 of tile 5
        for (int n = 0; n < 4; ++n) {
            StampCell(state.StampData, n % 2, n / 2) = 5;
        }
        state.SelectedTile = 5;
        const std::uint8_t before = c.tool == ToolErase ? 9 : 0;
        state.MapData.Fill(before);
        Stroke stroke;
        PressOutcome out;
        for (const auto& [x, y] : c.points) {
            out = HandleEditFieldPress(state, LeftButton, x, y, c.scrollX, c.scrollY, stroke);
        }
        std::string painted;
        for (int i = 0; i < CellCount; ++i) {
            if (state.MapData.data()[i] != before) {
                painted += std::to_string(i % MapSize) + ',' + std::to_string(i / MapSize) + ' ';
            }
        }
        EXPECT_EQ(painted, c.painted) << c.readout;
        EXPECT_EQ(out.readout, c.readout) << c.painted;
    }
}

// Points past the palette and the 8 x 8 grid change nothing; a hidden cell
// (column 7 at size 2) is still written and drawn.
TEST(StampBuilder, PaintsHiddenCellsAndIgnoresPointsOutside) {
    EditorState state;
    StampBuilderModel builder = OpenStampBuilder(state, GradientPalette());
    EXPECT_TRUE(PickBuilderTile(state, builder, 40, 20));
    EXPECT_FALSE(PickBuilderTile(state, builder, 0, 300)); // no tile 288
    EXPECT_EQ(std::tuple(state.StampBuilderTile, builder.Marker.column), std::tuple(18, 2));
    for (double x : {7 * 64 + 63.0, 512.0, -0.5}) {
        EXPECT_TRUE(PressStampGrid(state, LeftButton, x, 64));
    }
    EXPECT_FALSE(PressStampGrid(state, LeftButton | RightButton, 0, 0));
    StampCells expected{};
    StampCell(expected, 7, 1) = 18;
    EXPECT_EQ(state.StampBuilderData, expected);

    Surface grid;
    DrawStampGrid(state.StampBuilderData, builder.Palette, grid);
    EXPECT_EQ(grid.At(7 * 64 + 63, 64), GradientTilePixel(18, 15, 0));

    state.StampSizeIndexX = 7; // sizes past the lists' ends open as the nearest choice
    state.StampSizeIndexY = -1;
    builder = OpenStampBuilder(state, GradientPalette());
    EXPECT_EQ(std::pair(builder.SizeIndexX, builder.SizeIndexY), std::pair(6, 0));
}
