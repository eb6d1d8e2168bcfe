#include "core/render/palette_layout.h"

#include "core/base/number_text.h"

#include <algorithm>
#include <cmath>

namespace tessra {

int FloorDiv(double value, int size) {
    const double q = std::floor(value / size);
    if (std::isnan(q)) {
        return 0;
    }
    constexpr double limit = 1 << 24;
    return static_cast<int>(q < -limit ? -limit : (q > limit ? limit : q));
}

int TilesetTileCount(int width, int height) {
    const auto across = static_cast<long long>(RoundHalfEven(std::max(width, 0) / 16.0));
    const auto down = static_cast<long long>(RoundHalfEven(std::max(height, 0) / 16.0));
    return static_cast<int>(std::min<long long>(across * down, 1 << 30));
}

std::optional<int> TileOfPicture(int width, int height, int x, int y) {
    if (width <= 0 || x < 0 || y < 0 || x % TileSize != 0 || y % TileSize != 0) {
        return std::nullopt;
    }
    const long long perRow = (width + TileSize - 1) / TileSize;
    const long long count = TilesetTileCount(width, height);
    const long long tile = y / TileSize * perRow + x / TileSize;
    if (x / TileSize >= perRow || tile >= count) {
        return std::nullopt;
    }
    return static_cast<int>(tile);
}

PaletteCell TileAtPalettePoint(double X, double Y) {
    const int column = X > 0 ? FloorDiv(X, TileSize) : 0;
    const int row = Y > 0 ? FloorDiv(Y, TileSize) : 0;
    return {column, row, PaletteColumns * row + column};
}

} // namespace tessra
