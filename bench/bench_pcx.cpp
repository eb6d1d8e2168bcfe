#include "core/formats/pcx.h"

#include <benchmark/benchmark.h>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

struct KindLayout {
    int bits;
    int planes;
};

// Packs one line the way common encoders do: runs of up to 63, and a count of
// 1 for a lone byte that looks like a count.
void PackLine(const std::uint8_t* line, std::size_t size, Bytes& out) {
    for (std::size_t i = 0; i < size;) {
        std::size_t run = 1;
        while (i + run < size && run < 63 && line[i + run] == line[i]) {
            ++run;
        }
        if (run > 1 || line[i] >= 0xC0) {
            out.push_back(static_cast<std::uint8_t>(0xC0 | run));
        }
        out.push_back(line[i]);
        i += run;
    }
}

// A tileset-like picture: spans of one value (1 to 16 bytes) between stretches
// of noise, so the stream mixes runs and literals.
Bytes MakeFile(KindLayout kind, int width, int height) {
    const int bytesPerLine = ((width * kind.bits + 7) / 8 + 1) & ~1;
    Bytes file(128, 0);
    file[0] = 10;
    file[1] = 5;
    file[2] = 1;
    file[3] = static_cast<std::uint8_t>(kind.bits);
    file[8] = static_cast<std::uint8_t>(width - 1);
    file[9] = static_cast<std::uint8_t>((width - 1) >> 8);
    file[10] = static_cast<std::uint8_t>(height - 1);
    file[11] = static_cast<std::uint8_t>((height - 1) >> 8);
    file[65] = static_cast<std::uint8_t>(kind.planes);
    file[66] = static_cast<std::uint8_t>(bytesPerLine);
    file[67] = static_cast<std::uint8_t>(bytesPerLine >> 8);
    std::mt19937 random(7);
    Bytes line(static_cast<std::size_t>(bytesPerLine) * kind.planes);
    for (int y = 0; y < height; ++y) {
        for (std::size_t x = 0; x < line.size();) {
            const std::size_t span = random() % 2 ? 1 + random() % 16 : 1;
            const auto value = static_cast<std::uint8_t>(random());
            for (std::size_t i = 0; i < span && x < line.size(); ++i, ++x) {
                line[x] = span == 1 ? static_cast<std::uint8_t>(random()) : value;
            }
        }
        PackLine(line.data(), line.size(), file);
    }
    if (kind.bits == 8 && kind.planes == 1) {
        file.push_back(0x0C);
        for (int i = 0; i < 768; ++i) {
            file.push_back(static_cast<std::uint8_t>(i * 37));
        }
    }
    return file;
}

// Into one picture reused from load to load, as the palette rebuild does.
void BM_DecodePCX(benchmark::State& state, KindLayout kind) {
    const int width = static_cast<int>(state.range(0));
    const int height = static_cast<int>(state.range(1));
    const Bytes file = MakeFile(kind, width, height);
    tessra::PcxImage image;
    // The picture is already this size from the last load.
    if (const tessra::Status first = tessra::DecodePCX(file, image); !first) {
        state.SkipWithError(first.message().c_str());
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(tessra::DecodePCX(file, image).ok());
        benchmark::DoNotOptimize(image.picture.data());
    }
    state.SetItemsProcessed(state.iterations() * width * height);
    state.counters["file_bytes"] = static_cast<double>(file.size());
}

// Into a new picture each time: on a large image this mostly measures the
// system handing out fresh pages.
void BM_DecodePCXFresh(benchmark::State& state, KindLayout kind) {
    const int width = static_cast<int>(state.range(0));
    const int height = static_cast<int>(state.range(1));
    const Bytes file = MakeFile(kind, width, height);
    for (auto _ : state) {
        auto image = tessra::DecodePCX(file);
        benchmark::DoNotOptimize(image.value().picture.data());
    }
    state.SetItemsProcessed(state.iterations() * width * height);
}

// Real files from other encoders, of a size between the two above.
void BM_DecodeFixture(benchmark::State& state, const char* name) {
    std::ifstream in(std::string(TESSRA_TEST_DATA) + "/pcx/" + name, std::ios::binary);
    const Bytes file{std::istreambuf_iterator<char>(in), {}};
    tessra::PcxImage image;
    if (const tessra::Status first = tessra::DecodePCX(file, image); !first) {
        state.SkipWithError(first.message().c_str());
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(tessra::DecodePCX(file, image).ok());
        benchmark::DoNotOptimize(image.picture.data());
    }
    state.SetItemsProcessed(state.iterations() * image.picture.Width() * image.picture.Height());
}

void Sizes(benchmark::internal::Benchmark* bench) {
    bench->Args({256, 224})->Args({4096, 4096})->Unit(benchmark::kMicrosecond);
}

} // namespace

BENCHMARK_CAPTURE(BM_DecodePCX, Palette256, KindLayout{8, 1})->Apply(Sizes);
BENCHMARK_CAPTURE(BM_DecodePCX, Monochrome, KindLayout{1, 1})->Apply(Sizes);
BENCHMARK_CAPTURE(BM_DecodePCX, Colour16, KindLayout{1, 4})->Apply(Sizes);
BENCHMARK_CAPTURE(BM_DecodePCX, TrueColour, KindLayout{8, 3})->Apply(Sizes);
BENCHMARK_CAPTURE(BM_DecodePCXFresh, Palette256, KindLayout{8, 1})->Apply(Sizes);
BENCHMARK_CAPTURE(BM_DecodeFixture, TrueColour435x353, "24bit.pcx")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_DecodeFixture, Palette256_435x353, "256-palette.pcx")
    ->Unit(benchmark::kMicrosecond);
