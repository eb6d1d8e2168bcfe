#include "core/formats/image_encoders.h"
#include "core/formats/tiled/tmx_import.h"
#include "core/formats/tiled/tmx_writer.h"

#include <benchmark/benchmark.h>

namespace {

tessra::MapGrid MixedMap() {
    tessra::MapGrid map;
    for (int i = 0; i < tessra::CellCount; ++i) {
        map.data()[i] = static_cast<std::uint8_t>(i * 7 + i / 256);
    }
    return map;
}

} // namespace

static void BM_WriteTiledMap(benchmark::State& state) {
    const tessra::MapGrid map = MixedMap();
    const auto format = static_cast<tessra::TiledFormat>(state.range(0));
    for (auto _ : state) {
        benchmark::DoNotOptimize(tessra::WriteTiledMap(map, format, "level", "level.tiles.png"));
    }
}
BENCHMARK(BM_WriteTiledMap)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The whole import of an exported map, its palette picture included.
static void BM_ImportTiledMap(benchmark::State& state) {
    const auto format = static_cast<tessra::TiledFormat>(state.range(0));
    const std::string text = tessra::WriteTiledMap(MixedMap(), format, "level", "level.tiles.png");
    const std::vector<std::uint8_t> file(text.begin(), text.end());
    const std::vector<std::uint8_t> picture = tessra::EncodePng(tessra::Surface(256, 256));
    const tessra::FileReader read = [&](const std::string&) {
        return tessra::Result<std::vector<std::uint8_t>>(picture);
    };
    for (auto _ : state) {
        auto import = tessra::ImportTiledMap(file, "level.tmx", read);
        benchmark::DoNotOptimize(import);
    }
}
BENCHMARK(BM_ImportTiledMap)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
