#pragma once

#include "core/base/result.h"
#include "core/model/map_grid.h"
#include "core/render/surface.h"

#include <bitset>
#include <string>
#include <string_view>
#include <vector>

namespace tessra {

inline constexpr int TilePixels = 16 * 16;
inline constexpr int SimilarPixelsDefault = 8;

// Which pixels of two tiles of the palette picture differ, row by row.
using TileDifference = std::bitset<TilePixels>;
TileDifference DifferingPixels(const Surface& palette, int a, int b);

// Two tiles the map uses that look alike. Merging replaces every cell of
// `merged` by `kept`, the tile more cells hold (the lower number of two held
// equally), so the fewest cells change.
struct SimilarTiles {
    int kept = 0, merged = 0;
    int pixels = 0; // that differ
    int keptCells = 0, mergedCells = 0;

    bool operator==(const SimilarTiles&) const = default;
};

// Every pair of tiles the map uses whose pictures in the palette differ in at
// most maxPixels pixels, the closest first, then by kept and merged tile.
std::vector<SimilarTiles> FindSimilarTiles(const Surface& palette, const MapGrid& map,
                                           int maxPixels);

// "Tile 40 (4 cells) looks like tile 12 (120 cells): 3 pixels differ."
std::string DescribeSimilarTiles(const SimilarTiles& pair);

// The most pixels two tiles may differ in, as a box or --max-pixels gives it:
// a whole number from 0 to 256.
Result<int> ReadSimilarPixels(std::string_view text);

// The pair side by side at 4x, the merged tile left and the kept one right,
// SimilarPairGap pixels apart, each differing pixel outlined.
inline constexpr int SimilarPairZoom = 4, SimilarPairGap = 8;
inline constexpr int SimilarPairWidth = 2 * 16 * SimilarPairZoom + SimilarPairGap;
inline constexpr int SimilarPairHeight = 16 * SimilarPairZoom;
inline constexpr Pixel DifferenceMark = Rgb(255, 0, 255);
Surface DrawSimilarPair(const Surface& palette, const SimilarTiles& pair);

} // namespace tessra
