#include "core/palette.h"

#include <cmath>

namespace tessra {
namespace {

// Whole tiles in a length of pixels, a remainder of exactly half a tile going
// to the even count.
int TilesAcross(int pixels) {
    const int whole = pixels / TileSize;
    const int rest = pixels % TileSize;
    const bool roundUp = rest > TileSize / 2 || (rest == TileSize / 2 && whole % 2 == 1);
    return whole + (roundUp ? 1 : 0);
}

} // namespace

int FloorDiv(double value, int size) {
    const double q = std::floor(value / size);
    if (std::isnan(q)) {
        return 0;
    }
    constexpr double limit = 1 << 24;
    return static_cast<int>(q < -limit ? -limit : (q > limit ? limit : q));
}

void AppendTilesetToPalette(const Surface& decoded, Surface& palette, EditorState& state) {
    const int width = decoded.Width();
    const long long count =
        static_cast<long long>(TilesAcross(width)) * TilesAcross(decoded.Height());
    int sx = 0;
    int sy = 0;
    for (long long n = 0; n < count && state.PaletteCursorY < PaletteHeight; ++n) {
        BitBlt(palette, state.PaletteCursorX, state.PaletteCursorY, TileSize, TileSize, decoded, sx,
               sy);
        // A width that is no multiple of 16 moves down at the first position past
        // the edge instead of running on along the top strip.
        sx += TileSize;
        if (sx >= width) {
            sx = 0;
            sy += TileSize;
        }
        state.PaletteCursorX = static_cast<std::int16_t>(state.PaletteCursorX + TileSize);
        if (state.PaletteCursorX >= PaletteWidth) {
            state.PaletteCursorX = 0;
            state.PaletteCursorY = static_cast<std::int16_t>(state.PaletteCursorY + TileSize);
        }
    }
}

std::optional<int> TileOfPicture(int width, int height, int x, int y) {
    if (width <= 0 || x < 0 || y < 0 || x % TileSize != 0 || y % TileSize != 0) {
        return std::nullopt;
    }
    const long long perRow = (width + TileSize - 1) / TileSize;
    const long long count = static_cast<long long>(TilesAcross(width)) * TilesAcross(height);
    const long long tile = y / TileSize * perRow + x / TileSize;
    if (x / TileSize >= perRow || tile >= count) {
        return std::nullopt;
    }
    return static_cast<int>(tile);
}

std::vector<TilesetFailure> ReloadTilesets(EditorState& state, Surface& palette,
                                           const TilesetLoader& load) {
    state.PaletteCursorX = 0;
    state.PaletteCursorY = 0;
    palette.Resize(PaletteWidth, PaletteHeight);
    std::vector<TilesetFailure> failures;
    for (const std::string& path : state.Tilesets) {
        Result<Surface> decoded = load(path);
        if (!decoded) {
            failures.push_back({path, decoded.message()});
            continue;
        }
        AppendTilesetToPalette(decoded.value(), palette, state);
    }
    return failures;
}

PaletteCell TileAtPalettePoint(double X, double Y) {
    const int column = X > 0 ? FloorDiv(X, TileSize) : 0;
    const int row = Y > 0 ? FloorDiv(Y, TileSize) : 0;
    return {column, row, PaletteColumns * row + column};
}

} // namespace tessra
