#include "core/edit/tile_swap.h"
#include "core/formats/csv_import.h"
#include "core/formats/dat_file.h"
#include "core/formats/project_file.h"

#include <benchmark/benchmark.h>
#include <string>

namespace {

tessra::MapGrid MixedMap() {
    tessra::MapGrid map;
    for (int i = 0; i < tessra::CellCount; ++i) {
        map.data()[i] = static_cast<std::uint8_t>(i * 7 + i / 256);
    }
    return map;
}

const std::vector<std::string> Tilesets = {"/home/maps/tiles/ground.pcx", "/home/maps/water.pcx"};

} // namespace

static void BM_WriteProject(benchmark::State& state) {
    const tessra::MapGrid map = MixedMap();
    for (auto _ : state) {
        benchmark::DoNotOptimize(tessra::WriteProjectBytes(Tilesets, map));
    }
}
BENCHMARK(BM_WriteProject)->Unit(benchmark::kMicrosecond);

static void BM_ParseProject(benchmark::State& state) {
    const std::string bytes = tessra::WriteProjectBytes(Tilesets, MixedMap());
    for (auto _ : state) {
        auto project = tessra::ParseProject(bytes, "bench.tessra");
        benchmark::DoNotOptimize(project);
    }
}
BENCHMARK(BM_ParseProject)->Unit(benchmark::kMicrosecond);

static void BM_ImportCsv255(benchmark::State& state) {
    std::string csv;
    for (int y = 0; y < 255; ++y) {
        for (int x = 0; x < 255; ++x) {
            csv += std::to_string((x * 31 + y) % 200 + 1) + ",";
        }
        csv += "\r\n";
    }
    for (auto _ : state) {
        auto map = tessra::ImportCsv(csv, 255, 255);
        benchmark::DoNotOptimize(map);
    }
}
BENCHMARK(BM_ImportCsv255)->Unit(benchmark::kMicrosecond);

static void BM_SwapWholeGrid(benchmark::State& state) {
    tessra::MapGrid map = MixedMap();
    for (auto _ : state) {
        benchmark::DoNotOptimize(tessra::SwapTiles(map, 3, 7));
    }
}
BENCHMARK(BM_SwapWholeGrid)->Unit(benchmark::kMicrosecond);

static void BM_ExportMapFile256(benchmark::State& state) {
    const tessra::MapGrid map = MixedMap();
    for (auto _ : state) {
        benchmark::DoNotOptimize(tessra::WriteMapFileBytes(map, 256, 256));
    }
}
BENCHMARK(BM_ExportMapFile256)->Unit(benchmark::kMicrosecond);
