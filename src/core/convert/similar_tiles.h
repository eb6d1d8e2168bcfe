#pragma once

#include "core/model/map_grid.h"
#include "core/render/surface.h"

#include <bitset>
#include <string>
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

} // namespace tessra
