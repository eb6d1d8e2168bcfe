#include "core/edit/tool_table.h"
#include "core/render/map_view.h"
#include "core/render/palette_build.h"

#include <benchmark/benchmark.h>

using namespace tessra;

namespace {

Surface Noise(int width, int height, unsigned seed) {
    Surface image(width, height);
    for (int i = 0; i < width * height; ++i) {
        seed = seed * 1664525u + 1013904223u;
        image.data()[i] = Rgb(seed >> 8, seed >> 16, seed >> 24);
    }
    return image;
}

void BM_ReloadFourTilesets(benchmark::State& bench) {
    const Surface tileset = Noise(256, 224, 1);
    EditorState state;
    state.Tilesets = {"a.pcx", "b.pcx", "c.pcx", "d.pcx"};
    Surface palette;
    const TilesetLoader load = [&](const std::string&) -> Result<Surface> { return tileset; };
    for (auto _ : bench) {
        benchmark::DoNotOptimize(ReloadTilesets(state, palette, load));
    }
}
BENCHMARK(BM_ReloadFourTilesets)->Unit(benchmark::kMicrosecond);

void BM_RedrawMapView(benchmark::State& bench) {
    const int zoomMode = static_cast<int>(bench.range(0));
    MapGrid map;
    for (int i = 0; i < CellCount; ++i) {
        map.data()[i] = static_cast<std::uint8_t>(i * 37 / 11);
    }
    const Surface palette = Noise(PaletteWidth, PaletteHeight, 2);
    Surface view(ViewWidth, ViewHeight);
    for (auto _ : bench) {
        RedrawMapView(map, palette, zoomMode, 17, 9, view);
        benchmark::DoNotOptimize(view.data());
    }
    bench.SetLabel(ZoomFor(zoomMode).caption);
}
BENCHMARK(BM_RedrawMapView)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);

// A maximised window on a 1920 x 1080 screen, at 1x: the largest redraw there is.
void BM_RedrawFullScreenView(benchmark::State& bench) {
    MapGrid map;
    for (int i = 0; i < CellCount; ++i) {
        map.data()[i] = static_cast<std::uint8_t>(i * 37 / 11);
    }
    const Surface palette = Noise(PaletteWidth, PaletteHeight, 2);
    Surface view(1920, 1080);
    for (auto _ : bench) {
        RedrawMapView(map, palette, 0, 17, 9, view);
        benchmark::DoNotOptimize(view.data());
    }
}
BENCHMARK(BM_RedrawFullScreenView)->Unit(benchmark::kMicrosecond);

// Each pass fills the whole grid with the next value, so no reset is needed.
void BM_FloodFillWholeGrid(benchmark::State& bench) {
    MapGrid map;
    int tile = 0;
    for (auto _ : bench) {
        tile = (tile + 1) % TileCount;
        benchmark::DoNotOptimize(FloodFill(map, 128, 128, tile));
    }
}
BENCHMARK(BM_FloodFillWholeGrid)->Unit(benchmark::kMicrosecond);

// The whole map drawn band by band, as it is written out: the band stays in
// the cache, so this measures the drawing alone.
void BM_DrawWholeMapInBands(benchmark::State& bench) {
    MapGrid map;
    for (int i = 0; i < CellCount; ++i) {
        map.data()[i] = static_cast<std::uint8_t>(i * 37 / 11);
    }
    const Surface palette = Noise(PaletteWidth, PaletteHeight, 3);
    Surface band;
    for (auto _ : bench) {
        for (int row = 0; row < MapSize; ++row) {
            DrawWholeMapBand(map, palette, row, band);
            benchmark::DoNotOptimize(band.data());
        }
    }
}
BENCHMARK(BM_DrawWholeMapInBands)->Unit(benchmark::kMillisecond);

} // namespace
