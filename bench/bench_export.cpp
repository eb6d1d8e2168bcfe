#include "core/export/gba_compression.h"
#include "core/export/map_export.h"
#include "core/render/palette_layout.h"

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

// 256 tiles of 16 colours each from their palette's (tile mod 8) 15 and the
// backdrop, every 8 x 8 quarter different but for a few mirror images: the
// most a snes map can name.
tessra::Surface BusyTileset(tessra::TileAttributeTable& attributes) {
    tessra::Surface picture(tessra::PaletteWidth, tessra::PaletteHeight);
    std::mt19937 random(3);
    std::vector<tessra::Pixel> colours(8 * 15);
    for (tessra::Pixel& colour : colours) {
        colour = tessra::Rgb(random(), random(), random());
    }
    for (int t = 0; t < tessra::TileCount; ++t) {
        attributes[t] = {static_cast<std::uint8_t>(t % 8), false, t % 9 == 0, false, 0};
        for (int y = 0; y < tessra::TileSize; ++y) {
            for (int x = 0; x < tessra::TileSize; ++x) {
                const std::size_t i = random() % 16;
                picture.Set(tessra::TileLeft(t) + x, tessra::TileTop(t) + y,
                            i == 15 ? tessra::Black : colours[(t % 8) * 15 + i]);
            }
        }
    }
    picture.Set(0, 0, tessra::Black); // the backdrop
    return picture;
}

// The whole map to snes 4bpp in numbering unique, with the tile graphics and
// palettes, in memory; tessra-cli's whole process is timed apart.
void ExportTilesAndPalettes(benchmark::State& state, const char* hardware) {
    tessra::TileAttributeTable attributes;
    const tessra::Surface picture = BusyTileset(attributes);
    const MapGrid map = NoiseMap();
    tessra::ExportSettings settings;
    for (const auto& [name, text] : {std::pair("hardware", hardware),
                                     {"numbering", "unique"},
                                     {"tiles", "tiles.bin"},
                                     {"palettes", "palettes.bin"}}) {
        (void)tessra::SetExportSetting(settings, name, text);
    }
    tessra::ArtInputs art;
    art.Picture = &picture;
    std::size_t tiles = 0;
    for (auto _ : state) {
        auto result = tessra::ExportMap(map, attributes, settings, "level.bin", &art);
        tiles = result ? static_cast<std::size_t>(result.value().Art->Tiles) : 0;
        benchmark::DoNotOptimize(result);
    }
    state.counters["tiles"] = static_cast<double>(tiles);
}

// What the Hardware Budget panel counts after each edit of a full map; the
// NES finds the nearest of its colours for each.
void CountBudget(benchmark::State& state, const char* hardware, const char* numbering) {
    tessra::TileAttributeTable attributes;
    const tessra::Surface picture = BusyTileset(attributes);
    tessra::ExportSettings settings;
    (void)tessra::SetExportSetting(settings, "hardware", hardware);
    (void)tessra::SetExportSetting(settings, "numbering", numbering);
    if (std::string_view(hardware) == "nes") {
        (void)tessra::SetExportSetting(settings, "region", "0,0,240,240");
        for (auto& a : attributes.Tiles) {
            a.Palette &= 3, a.Hflip = false;
        }
    }
    tessra::ArtInputs art;
    art.Picture = &picture;
    const MapGrid map = NoiseMap();
    std::size_t problems = 0;
    for (auto _ : state) {
        auto budget = tessra::CountHardwareBudget(map, attributes, settings, art);
        problems = budget.Tiles ? budget.Tiles->Problems.size() : 0;
        benchmark::DoNotOptimize(budget);
    }
    state.counters["problems"] = static_cast<double>(problems);
}

} // namespace

// The target: the whole map with its tiles and palettes in under 15 ms, whole process.
BENCHMARK_CAPTURE(ExportTilesAndPalettes, snes, "snes")->Unit(benchmark::kMillisecond);
// The target: the budget of a full map in under 50 ms.
BENCHMARK_CAPTURE(CountBudget, snes_unique, "snes", "unique")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(CountBudget, gba_image, "gba", "image")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(CountBudget, nes_unique, "nes", "unique")->Unit(benchmark::kMillisecond);

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
