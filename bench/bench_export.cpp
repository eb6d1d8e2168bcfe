#include "core/export/gba_compression.h"
#include "core/export/map_export.h"

#include <benchmark/benchmark.h>
#include <random>
#include <string_view>

namespace {

using tessra::MapGrid;

// Sky with a few clouds, a ground band with a pattern that shifts every row.
MapGrid LevelMap() {
    MapGrid map;
    for (int y = 0; y < tessra::MapSize; ++y) {
        for (int x = 0; x < tessra::MapSize; ++x) {
            map(x, y) = y < 180 ? (x % 37 == 0 && y % 9 == 0 ? 5 : 0)
                                : static_cast<std::uint8_t>(16 + (x * 3 + y) % 7);
        }
    }
    return map;
}

// Every cell different from its neighbours: little for LZ77 to find.
MapGrid NoiseMap() {
    MapGrid map;
    std::mt19937 random(7);
    for (int i = 0; i < tessra::CellCount; ++i) {
        map.data()[i] = static_cast<std::uint8_t>(random());
    }
    return map;
}

// Few tiles in short random runs: many short matches, the slow case for the search.
MapGrid FewTilesMap() {
    MapGrid map;
    std::mt19937 random(11);
    for (int i = 0; i < tessra::CellCount; ++i) {
        map.data()[i] = static_cast<std::uint8_t>(random() % 4);
    }
    return map;
}

void ExportWholeMap(benchmark::State& state, const MapGrid& map, const char* entry,
                    const char* compress) {
    tessra::ExportSettings settings;
    (void)tessra::SetExportSetting(settings, "entry", entry);
    (void)tessra::SetExportSetting(settings, "compress", compress);
    std::size_t size = 0;
    for (auto _ : state) {
        auto result = tessra::ExportMap(map, {}, settings, "level.bin");
        size = result.value().DataSize;
        benchmark::DoNotOptimize(result);
    }
    state.counters["bytes"] = static_cast<double>(size);
}

// A hardware map: 512 x 512 entries from the whole map (480 x 480 for the
// NES, whose screens of 16 x 15 cells do not divide 256), with attributes.
void ExportHardwareMap(benchmark::State& state, const char* hardware, const char* compress) {
    const MapGrid map = LevelMap();
    tessra::TileAttributeTable attributes;
    for (int t = 0; t < tessra::TileCount; ++t) {
        attributes[t] = {static_cast<std::uint8_t>(t % 4), t % 2 == 0, false, false, 0};
    }
    attributes[16].Hflip = std::string_view(hardware) != "nes"; // the NES cannot flip
    tessra::ExportSettings settings;
    (void)tessra::SetExportSetting(settings, "hardware", hardware);
    (void)tessra::SetExportSetting(settings, "compress", compress);
    if (std::string_view(hardware) == "nes") {
        (void)tessra::SetExportSetting(settings, "region", "0,0,240,240");
    }
    std::size_t size = 0;
    for (auto _ : state) {
        auto result = tessra::ExportMap(map, attributes, settings, "level.bin");
        size = result.value().DataSize;
        benchmark::DoNotOptimize(result);
    }
    state.counters["bytes"] = static_cast<double>(size);
}

} // namespace

// The target for hardware maps: the whole map in under 5 ms.
BENCHMARK_CAPTURE(ExportHardwareMap, snes, "snes", "none")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ExportHardwareMap, gba, "gba", "none")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ExportHardwareMap, md, "md", "none")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ExportHardwareMap, gbc, "gbc", "none")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ExportHardwareMap, nes, "nes", "none")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ExportHardwareMap, gba_lz77, "gba", "lz77")->Unit(benchmark::kMillisecond);

// The target: the whole map with lz77 in under 5 ms.
BENCHMARK_CAPTURE(ExportWholeMap, level_lz77_u8, LevelMap(), "u8", "lz77")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ExportWholeMap, level_lz77_u16, LevelMap(), "u16le", "lz77")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ExportWholeMap, noise_lz77_u8, NoiseMap(), "u8", "lz77")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ExportWholeMap, fewtiles_lz77_u8, FewTilesMap(), "u8", "lz77")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ExportWholeMap, level_rle_u8, LevelMap(), "u8", "rle")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ExportWholeMap, level_none_u8, LevelMap(), "u8", "none")
    ->Unit(benchmark::kMillisecond);
