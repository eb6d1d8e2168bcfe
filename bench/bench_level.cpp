#include "core/convert/level_picture.h"
#include "core/convert/palette_packing.h"
#include "core/convert/similar_tiles.h"
#include "core/formats/image_encoders.h"
#include "core/render/palette_layout.h"

#include <benchmark/benchmark.h>
#include <random>

namespace {

using namespace tessra;

// A 4096 x 4096 level of 240 distinct cells, each drawn in four of 40 colours
// and placed at random, as the import's figure asks.
Surface LevelPicture() {
    std::mt19937 random(240);
    std::vector<Pixel> colours(40);
    for (Pixel& colour : colours) {
        colour = Rgb(random(), random(), random());
    }
    Surface tiles(TileSize * 240, TileSize);
    for (int tile = 0; tile < 240; ++tile) {
        for (int i = 0; i < TilePixels; ++i) {
            const int x = i % TileSize, y = i / TileSize;
            tiles.Set(tile * TileSize + x, y, colours[(tile + (x * 7 + y * 3 + tile) / 5) % 40]);
        }
    }
    Surface picture(LevelPictureMaxSize, LevelPictureMaxSize);
    for (int cell = 0; cell < CellCount; ++cell) {
        const int tile = cell < 240 ? cell : static_cast<int>(random() % 240);
        BitBlt(picture, cell % MapSize * TileSize, cell / MapSize * TileSize, TileSize, TileSize,
               tiles, tile * TileSize, 0);
    }
    return picture;
}

// 256 tiles of a console level: each draws 3 to 15 colours from one of eight
// hidden 15-colour sub-palettes, some from two that share a few colours.
std::vector<TileColours> LevelTileColours() {
    std::mt19937 random(256);
    std::vector<TileColours> tiles;
    for (int tile = 0; tile < 256; ++tile) {
        const std::uint32_t base = 12 * (random() % 8);
        std::vector<std::uint32_t> colours;
        const int count = 3 + static_cast<int>(random() % 13);
        for (int i = 0; i < count; ++i) {
            colours.push_back(base + random() % 15);
        }
        tiles.push_back({tile, colours});
    }
    return tiles;
}

} // namespace

static void BM_CutLevelPicture(benchmark::State& state) {
    const Surface picture = LevelPicture();
    for (auto _ : state) {
        auto cut = CutLevelPicture(picture);
        benchmark::DoNotOptimize(cut);
    }
}
BENCHMARK(BM_CutLevelPicture)->Unit(benchmark::kMillisecond);

// What import-image does past reading the file: decode, cut, and encode the tileset.
static void BM_ImportLevelPng(benchmark::State& state) {
    const std::vector<std::uint8_t> png = EncodePng(LevelPicture());
    for (auto _ : state) {
        const Result<Surface> picture = DecodeLevelPicture(png, "level.png");
        const Result<LevelCut> cut = CutLevelPicture(picture.value());
        benchmark::DoNotOptimize(EncodePng(cut.value().tileset));
    }
}
BENCHMARK(BM_ImportLevelPng)->Unit(benchmark::kMillisecond);

static void BM_PackPalettes256Tiles(benchmark::State& state) {
    const std::vector<TileColours> tiles = LevelTileColours();
    for (auto _ : state) {
        auto packing = PackPalettes(tiles, 15, 8);
        benchmark::DoNotOptimize(packing);
    }
}
BENCHMARK(BM_PackPalettes256Tiles)->Unit(benchmark::kMillisecond);

// Sets of 200 colours at random: no packing is close to a bound, so the exact
// search runs until its work is spent.
static void BM_PackPalettes256RandomTiles(benchmark::State& state) {
    std::mt19937 random(26);
    std::vector<TileColours> tiles;
    for (int tile = 0; tile < 256; ++tile) {
        std::vector<std::uint32_t> colours;
        for (int i = 0; i < 1 + static_cast<int>(random() % 15); ++i) {
            colours.push_back(random() % 200);
        }
        tiles.push_back({tile, colours});
    }
    for (auto _ : state) {
        auto packing = PackPalettes(tiles, 15, 256);
        benchmark::DoNotOptimize(packing);
    }
}
BENCHMARK(BM_PackPalettes256RandomTiles)->Unit(benchmark::kMillisecond);

static void BM_FindSimilarTiles256(benchmark::State& state) {
    const Result<LevelCut> cut = CutLevelPicture(LevelPicture());
    Surface palette(PaletteWidth, PaletteHeight);
    BitBlt(palette, 0, 0, PaletteWidth, cut.value().tileset.Height(), cut.value().tileset, 0, 0);
    for (auto _ : state) {
        benchmark::DoNotOptimize(FindSimilarTiles(palette, cut.value().map, 8));
    }
}
BENCHMARK(BM_FindSimilarTiles256)->Unit(benchmark::kMillisecond);
