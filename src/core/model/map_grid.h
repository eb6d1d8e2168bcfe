#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace tessra {

inline constexpr int MapSize = 256;
inline constexpr int CellCount = MapSize * MapSize;
// A cell holds one byte: tile numbers run from 0 to 255.
inline constexpr int TileCount = 256;

constexpr bool IsTileNumber(int tile) {
    return tile >= 0 && tile < TileCount;
}

// The 256 x 256 map of one-byte tile numbers; x varies fastest.
class MapGrid {
  public:
    static constexpr bool Contains(int x, int y) {
        return x >= 0 && x < MapSize && y >= 0 && y < MapSize;
    }
    static constexpr std::size_t Index(int x, int y) {
        return static_cast<std::size_t>(x) + static_cast<std::size_t>(y) * MapSize;
    }

    std::uint8_t& operator()(int x, int y) { return cells_[Index(x, y)]; }
    std::uint8_t operator()(int x, int y) const { return cells_[Index(x, y)]; }

    std::uint8_t* data() { return cells_.data(); }
    const std::uint8_t* data() const { return cells_.data(); }
    void Fill(std::uint8_t tile) { cells_.fill(tile); }

    bool operator==(const MapGrid&) const = default;

  private:
    std::array<std::uint8_t, CellCount> cells_{};
};

// A cell of the map by its column and row; either may lie outside the grid.
struct MapCell {
    int x, y;
};

} // namespace tessra
