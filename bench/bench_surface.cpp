#include "core/render/surface.h"

#include <benchmark/benchmark.h>

static void BM_StretchBlt16To128(benchmark::State& state) {
    tessra::Surface src(256, 256), dst(512, 448);
    for (auto _ : state) {
        tessra::StretchBlt(dst, 0, 0, 128, 128, src, 16, 16, 16, 16);
        benchmark::DoNotOptimize(dst.data());
    }
}
BENCHMARK(BM_StretchBlt16To128);
