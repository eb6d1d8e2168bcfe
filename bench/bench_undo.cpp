#include "core/edit/map_shift.h"
#include "core/model/editor_state.h"
#include "core/model/undo_history.h"

#include <benchmark/benchmark.h>

using namespace tessra;

namespace {

MapGrid Mixed() {
    MapGrid map;
    for (int i = 0; i < CellCount; ++i) {
        map.data()[i] = static_cast<std::uint8_t>(i * 31 % 251);
    }
    return map;
}

// Every cell changed (import, map shift), a third changed (swap), one changed (a press).
void BM_DiffMaps(benchmark::State& bench) {
    const MapGrid before = Mixed();
    MapGrid after = before;
    const int every = static_cast<int>(bench.range(0));
    for (int i = 0; i < CellCount; i += every) {
        ++after.data()[i];
    }
    for (auto _ : bench) {
        benchmark::DoNotOptimize(DiffMaps(before, after));
    }
}
BENCHMARK(BM_DiffMaps)->Arg(1)->Arg(3)->Arg(CellCount)->Unit(benchmark::kMicrosecond);

// A whole Map Shift step as the window records it, with the history full.
void BM_RecordMapShift(benchmark::State& bench) {
    EditorState state;
    state.MapData = Mixed();
    UndoHistory history;
    for (auto _ : bench) {
        UndoStep step(history, state, "Map Shift");
        ShiftMap(state.MapData, {1, 0, true, 0});
    }
}
BENCHMARK(BM_RecordMapShift)->Unit(benchmark::kMicrosecond);

void BM_UndoRedoWholeMap(benchmark::State& bench) {
    EditorState state;
    UndoHistory history;
    {
        UndoStep step(history, state, "Import CSV");
        state.MapData = Mixed();
    }
    for (auto _ : bench) {
        history.Undo(state);
        history.Redo(state);
    }
}
BENCHMARK(BM_UndoRedoWholeMap)->Unit(benchmark::kMicrosecond);

} // namespace
