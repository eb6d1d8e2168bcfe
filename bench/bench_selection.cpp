#include "core/edit/cell_block_text.h"
#include "core/edit/select_tool.h"
#include "core/model/editor_state.h"
#include "core/model/undo_history.h"
#include "core/render/map_view.h"
#include "core/render/palette_build.h"

#include <benchmark/benchmark.h>

using namespace tessra;

// A 40 x 30 block on a full map, each command as the window runs it: the
// undo step it makes included, and the clipboard's two kinds of data.
namespace {

constexpr CellRect Block{100, 100, 40, 30};

EditorState FullMap() {
    EditorState state;
    for (int i = 0; i < CellCount; ++i) {
        state.MapData.data()[i] = static_cast<std::uint8_t>(i * 31 % 251 + 1);
    }
    return state;
}

void BM_SelectBlock(benchmark::State& bench) {
    EditorState state = FullMap();
    MapSelection selection;
    for (auto _ : bench) {
        SelectToolEvent(selection, state.MapData, PointerPhase::Press, {Block.x, Block.y});
        for (int i = 1; i < Block.width; ++i) {
            SelectToolEvent(selection, state.MapData, PointerPhase::Move,
                            {Block.x + i, Block.y + i * Block.height / Block.width});
        }
        SelectToolEvent(selection, state.MapData, PointerPhase::Release,
                        {Block.x + Block.width - 1, Block.y + Block.height - 1});
        benchmark::DoNotOptimize(selection.rect);
    }
}
BENCHMARK(BM_SelectBlock)->Unit(benchmark::kMicrosecond);

// A cut and the undo that brings the cells back for the next pass.
void BM_CutBlockAndUndo(benchmark::State& bench) {
    EditorState state = FullMap();
    UndoHistory history;
    for (auto _ : bench) {
        {
            UndoStep step(history, state, "Cut");
            const CellBlock block = CutCells(state.MapData, Block);
            benchmark::DoNotOptimize(CellBlockBytes(block));
            benchmark::DoNotOptimize(CellBlockCsv(block));
        }
        history.Undo(state);
    }
}
BENCHMARK(BM_CutBlockAndUndo)->Unit(benchmark::kMicrosecond);

// Two blocks in turn, so every paste changes the cells under it.
void BM_PasteBlock(benchmark::State& bench) {
    EditorState state = FullMap();
    const std::string clipboard[] = {CellBlockBytes(CopyCells(state.MapData, Block)),
                                     CellBlockBytes(CopyCells(state.MapData, {0, 0, 40, 30}))};
    UndoHistory history;
    MapSelection selection;
    int turn = 0;
    for (auto _ : bench) {
        StartPaste(selection, ReadCellBlockBytes(clipboard[turn ^= 1]).value(), {0, 0});
        UndoStep step(history, state, SelectStepLabel(selection));
        SelectToolEvent(selection, state.MapData, PointerPhase::Press, {150, 120});
    }
}
BENCHMARK(BM_PasteBlock)->Unit(benchmark::kMicrosecond);

// A drag of the selection 30 cells right, then back.
void BM_MoveBlock(benchmark::State& bench) {
    EditorState state = FullMap();
    UndoHistory history;
    MapSelection selection;
    selection.rect = Block;
    for (auto _ : bench) {
        const CellRect from = selection.rect;
        const int step = from.x == Block.x ? 30 : -30;
        SelectToolEvent(selection, state.MapData, PointerPhase::Press, {from.x, from.y});
        for (int i = 1; i <= 30; ++i) {
            SelectToolEvent(selection, state.MapData, PointerPhase::Move,
                            {from.x + step * i / 30, from.y});
        }
        UndoStep undo(history, state, SelectStepLabel(selection));
        SelectToolEvent(selection, state.MapData, PointerPhase::Release, {from.x + step, from.y});
    }
}
BENCHMARK(BM_MoveBlock)->Unit(benchmark::kMicrosecond);

// What the view does on each move of the pointer while a pasted block floats,
// at the first size and maximised on a 1920 x 1080 screen: against the full
// redraw of the same view without one (BM_RedrawMapView, BM_RedrawFullScreenView).
void BM_PastePreviewRedraw(benchmark::State& bench) {
    EditorState state = FullMap();
    Surface palette(PaletteWidth, PaletteHeight);
    Surface view(static_cast<int>(bench.range(0)), static_cast<int>(bench.range(1)));
    MapSelection selection;
    StartPaste(selection, CopyCells(state.MapData, Block), {0, 0});
    int x = 0;
    for (auto _ : bench) {
        SelectToolEvent(selection, state.MapData, PointerPhase::Move, {20 + (x++ & 15), 9});
        RedrawMapView(WithFloatingBlock(state.MapData, *selection.floating), palette, 0, 17, 9,
                      view);
        benchmark::DoNotOptimize(view.data());
    }
}
BENCHMARK(BM_PastePreviewRedraw)
    ->Args({ViewWidth, ViewHeight})
    ->Args({1920, 1080})
    ->Unit(benchmark::kMicrosecond);

} // namespace
