#include "core/model/tile_usage.h"

namespace tessra {

std::array<int, TileCount> CountTileUsage(const MapGrid& map) {
    std::array<int, TileCount> counts{};
    for (int i = 0; i < CellCount; ++i) {
        ++counts[map.data()[i]];
    }
    return counts;
}

} // namespace tessra
