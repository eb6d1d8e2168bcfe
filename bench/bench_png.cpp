#include "core/formats/image_encoders.h"
#include "core/formats/png.h"

#include <benchmark/benchmark.h>

namespace {

// A tileset-like picture of 4096 x 4096: blocks of colour with some noise.
std::vector<std::uint8_t> LargePng() {
    tessra::Surface picture(4096, 4096);
    for (int y = 0; y < picture.Height(); ++y) {
        for (int x = 0; x < picture.Width(); ++x) {
            picture.Set(x, y, tessra::Rgb(x / 16 * 9, y / 16 * 5, (x * y) % 7 * 30));
        }
    }
    return tessra::EncodePng(picture);
}

} // namespace

static void BM_DecodePng4096(benchmark::State& state) {
    const std::vector<std::uint8_t> file = LargePng();
    for (auto _ : state) {
        auto picture = tessra::DecodePNG(file);
        benchmark::DoNotOptimize(picture);
    }
}
BENCHMARK(BM_DecodePng4096)->Unit(benchmark::kMillisecond);
