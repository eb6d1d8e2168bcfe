// One mouse move of a painting drag at 1x: the press handler and the redraw
// that follows it, as the main window runs them.
#include "core/edit/tool_table.h"
#include "core/model/editor_state.h"
#include "core/render/map_view.h"
#include "core/render/palette_build.h"

#include <benchmark/benchmark.h>

namespace {

using namespace tessra;

Surface StripedPalette() {
    Surface palette(PaletteWidth, PaletteHeight);
    for (int y = 0; y < palette.Height(); ++y) {
        for (int x = 0; x < palette.Width(); ++x) {
            palette.Set(x, y, Rgb(x, y, x ^ y));
        }
    }
    return palette;
}

// wholeMapFill: the map is one region and every move refills all of it with
// another tile, the costliest fill there is.
void PaintDrag(benchmark::State& run, int tool, bool wholeMapFill = false) {
    EditorState state;
    for (int i = 0; i < CellCount && !wholeMapFill; ++i) {
        state.MapData.data()[i] = static_cast<std::uint8_t>(i * 7);
    }
    state.CurrentTool = static_cast<std::int16_t>(tool);
    state.SelectedTile = 37;
    const Surface palette = StripedPalette();
    Surface view(ViewWidth, ViewHeight);
    int step = 0;
    Stroke stroke;
    for (auto _ : run) {
        if (wholeMapFill) {
            state.SelectedTile = static_cast<std::int16_t>(1 + step % 2);
        }
        const double x = (step * 5) % ViewWidth, y = (step * 3) % ViewHeight;
        const PressOutcome outcome =
            HandleEditFieldPress(state, LeftButton, x, y, 100, 100, stroke);
        if (outcome.redraw) {
            RedrawMapView(state.MapData, palette, state.ZoomMode, 100, 100, view);
        }
        benchmark::DoNotOptimize(view.data());
        ++step;
    }
}

void BM_DrawMoveWithRedraw(benchmark::State& run) {
    PaintDrag(run, ToolDraw);
}
void BM_StampMoveWithRedraw(benchmark::State& run) {
    PaintDrag(run, ToolStamp);
}
void BM_FloodfillMoveWithRedraw(benchmark::State& run) {
    PaintDrag(run, ToolFloodfill);
}
void BM_WholeMapFillWithRedraw(benchmark::State& run) {
    PaintDrag(run, ToolFloodfill, true);
}

} // namespace

BENCHMARK(BM_DrawMoveWithRedraw)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StampMoveWithRedraw)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FloodfillMoveWithRedraw)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WholeMapFillWithRedraw)->Unit(benchmark::kMicrosecond);
