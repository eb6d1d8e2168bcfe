#include "core/render/tile_drawing.h"

#include "core/render/palette_build.h"

namespace tessra {

namespace {

constexpr int Quarter = TileSize / 2;

} // namespace

void DrawTileFlipped(Surface& dst, int dx, int dy, const Surface& src, int sx, int sy, bool hflip,
                     bool vflip) {
    for (int y = 0; y < TileSize; ++y) {
        const int fromY = sy + (vflip ? TileSize - 1 - y : y);
        for (int x = 0; x < TileSize; ++x) {
            const int fromX = sx + (hflip ? TileSize - 1 - x : x);
            if (dst.Contains(dx + x, dy + y)) {
                dst.Set(dx + x, dy + y, src.Contains(fromX, fromY) ? src.At(fromX, fromY) : Black);
            }
        }
    }
}

Surface FlippedPalette(const Surface& palette, const TileAttributeTable& attributes) {
    Surface flipped = palette;
    for (int tile = 0; tile < TileCount; ++tile) {
        const TileAttributes& a = attributes[tile];
        if (a.Hflip || a.Vflip) {
            DrawTileFlipped(flipped, TileLeft(tile), TileTop(tile), palette, TileLeft(tile),
                            TileTop(tile), a.Hflip, a.Vflip);
        }
    }
    return flipped;
}

Surface MetatilePalette(const Surface& palette) {
    Surface picture(MetatilePaletteWidth, MetatilePaletteHeight);
    constexpr int perRow = MetatilePaletteWidth / Quarter;
    for (int k = 0; k < TileCount * 4; ++k) {
        const int tile = k / 4, q = k % 4;
        BitBlt(picture, Quarter * (k % perRow), Quarter * (k / perRow), Quarter, Quarter, palette,
               TileLeft(tile) + Quarter * (q % 2), TileTop(tile) + Quarter * (q / 2));
    }
    return picture;
}

} // namespace tessra
