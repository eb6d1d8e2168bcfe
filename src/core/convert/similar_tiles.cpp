#include "core/convert/similar_tiles.h"

#include "core/model/tile_usage.h"
#include "core/render/palette_layout.h"

#include <algorithm>
#include <array>
#include <tuple>

namespace tessra {

namespace {

using TilePicture = std::array<Pixel, TilePixels>;

TilePicture PictureOf(const Surface& palette, int tile) {
    TilePicture picture;
    for (int y = 0; y < TileSize; ++y) {
        for (int x = 0; x < TileSize; ++x) {
            const int px = TileLeft(tile) + x, py = TileTop(tile) + y;
            picture[static_cast<std::size_t>(y * TileSize + x)] =
                palette.Contains(px, py) ? palette.At(px, py) : Black;
        }
    }
    return picture;
}

std::string Cells(int count) {
    return std::to_string(count) + (count == 1 ? " cell" : " cells");
}

} // namespace

TileDifference DifferingPixels(const Surface& palette, int a, int b) {
    const TilePicture first = PictureOf(palette, a);
    const TilePicture second = PictureOf(palette, b);
    TileDifference differ;
    for (std::size_t i = 0; i < first.size(); ++i) {
        differ[i] = first[i] != second[i];
    }
    return differ;
}

std::vector<SimilarTiles> FindSimilarTiles(const Surface& palette, const MapGrid& map,
                                           int maxPixels) {
    const std::array<int, TileCount> cells = CountTileUsage(map);
    std::vector<int> used;
    std::vector<TilePicture> pictures;
    for (int tile = 0; tile < TileCount; ++tile) {
        if (cells[static_cast<std::size_t>(tile)] > 0) {
            used.push_back(tile);
            pictures.push_back(PictureOf(palette, tile));
        }
    }
    std::vector<SimilarTiles> pairs;
    for (std::size_t i = 0; i < used.size(); ++i) {
        for (std::size_t j = i + 1; j < used.size(); ++j) {
            int pixels = 0;
            for (std::size_t p = 0; p < TilePixels && pixels <= maxPixels; ++p) {
                pixels += pictures[i][p] != pictures[j][p];
            }
            if (pixels > maxPixels) {
                continue;
            }
            int kept = used[i], merged = used[j];
            if (cells[static_cast<std::size_t>(merged)] > cells[static_cast<std::size_t>(kept)]) {
                std::swap(kept, merged);
            }
            pairs.push_back({kept, merged, pixels, cells[static_cast<std::size_t>(kept)],
                             cells[static_cast<std::size_t>(merged)]});
        }
    }
    std::sort(pairs.begin(), pairs.end(), [](const SimilarTiles& a, const SimilarTiles& b) {
        return std::tie(a.pixels, a.kept, a.merged) < std::tie(b.pixels, b.kept, b.merged);
    });
    return pairs;
}

std::string DescribeSimilarTiles(const SimilarTiles& pair) {
    return "Tile " + std::to_string(pair.merged) + " (" + Cells(pair.mergedCells) +
           ") looks like tile " + std::to_string(pair.kept) + " (" + Cells(pair.keptCells) +
           "): " + std::to_string(pair.pixels) +
           (pair.pixels == 1 ? " pixel differs." : " pixels differ.");
}

} // namespace tessra
