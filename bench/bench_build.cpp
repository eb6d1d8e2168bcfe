// A game's worth of levels built at once: 50 maps of 256 x 256 cells, each
// with its own few tiles beside the 32 all share, every one a SNES map in one
// tile bank. The targets: a build with nothing to do under 150 ms, a full
// build under 1 s on 2 cores.
//
// bench_build --make-maps DIR writes the same folder for timing tessra-cli
// build as a whole process (see docs/performance.md).
#include "core/export/export_profile.h"
#include "core/formats/image_encoders.h"
#include "core/formats/project_file.h"
#include "io/file_io.h"
#include "io/map_build.h"

#include <benchmark/benchmark.h>
#include <cstring>
#include <filesystem>
#include <random>

using namespace tessra;

namespace {

constexpr int Maps = 50;
constexpr int SharedTiles = 32, OwnTiles = 4;

void Write(const std::string& path, const std::string& bytes) {
    const Status written =
        WriteFileAtomic(path, {reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()},
                        Durability::Derived);
    if (!written) {
        throw std::runtime_error(written.message());
    }
}

// Tiles of random pixels in eight colours of one sub-palette.
void WriteTileset(const std::string& path, int tiles, std::mt19937& random) {
    Surface picture(16 * tiles, 16);
    for (int y = 0; y < picture.Height(); ++y) {
        for (int x = 0; x < picture.Width(); ++x) {
            const unsigned c = random() % 8;
            picture.Set(x, y, Rgb(32 * c, 255 - 32 * c, 128));
        }
    }
    const std::vector<std::uint8_t> png = EncodePng(picture);
    Write(path, std::string(png.begin(), png.end()));
}

void MakeMaps(const std::string& folder) {
    std::filesystem::create_directories(folder + "/out");
    std::mt19937 random(28);
    WriteTileset(folder + "/shared.png", SharedTiles, random);
    for (int m = 0; m < Maps; ++m) {
        const std::string name = "level" + std::to_string(m);
        WriteTileset(folder + "/" + name + ".png", OwnTiles, random);
        // Runs of one tile, as levels are drawn.
        MapGrid map;
        for (int i = 0; i < CellCount; i += 4) {
            const auto tile = static_cast<std::uint8_t>(random() % (SharedTiles + OwnTiles));
            std::memset(map.data() + i, tile, 4);
        }
        Write(folder + "/" + name + ".tessra",
              WriteProjectBytes({"shared.png", name + ".png"}, map));
        Write(folder + "/" + name + ".export.json",
              R"({"hardware": "snes", "bank": "world.tilebank", "tiles": "out/world.chr",
                  "palettes": "out/world.pal", "output": "out/)" +
                  name + R"(.bin"})");
    }
}

struct Folder {
    std::string path = (std::filesystem::temp_directory_path() / "tessra-bench-build").string();
    Folder() {
        std::filesystem::remove_all(path);
        MakeMaps(path);
    }
    ~Folder() { std::filesystem::remove_all(path); }
};

const Folder& Levels() {
    static const Folder folder;
    return folder;
}

void Clean(const std::string& folder) {
    std::filesystem::remove_all(folder + "/out");
    std::filesystem::create_directory(folder + "/out");
    std::filesystem::remove(folder + "/world.tilebank");
    std::filesystem::remove(folder + "/.tessra-build");
}

void Run(benchmark::State& state, const BuildOptions& options) {
    const Result<BuildReport> report = RunBuild(options);
    if (!report || !report.value().Failures.empty()) {
        state.SkipWithError(report ? report.value().Failures[0].Message.c_str()
                                   : report.message().c_str());
    }
}

void BM_BuildEverything(benchmark::State& state) {
    const BuildOptions options{Levels().path, static_cast<int>(state.range(0)), {}, false};
    for (auto _ : state) {
        state.PauseTiming();
        Clean(options.Folder);
        state.ResumeTiming();
        Run(state, options);
    }
}
BENCHMARK(BM_BuildEverything)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_BuildNothingToDo(benchmark::State& state) {
    const BuildOptions options{Levels().path, 2, {}, false};
    Run(state, options);
    for (auto _ : state) {
        Run(state, options);
    }
}
BENCHMARK(BM_BuildNothingToDo)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--make-maps") {
        MakeMaps(argv[2]);
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
