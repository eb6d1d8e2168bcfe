#pragma once

#include "core/palette.h"
#include "core/surface.h"

// A palette whose pixel (x, y) is Rgb(x, y, 1): every pixel is distinct, so a
// drawn pixel tells exactly where in the palette it was copied from.
inline tessra::Surface GradientPalette(int height = tessra::PaletteHeight) {
    tessra::Surface palette(tessra::PaletteWidth, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < tessra::PaletteWidth; ++x) {
            palette.Set(x, y, tessra::Rgb(x, y, 1));
        }
    }
    return palette;
}

// The colour of pixel (dx, dy) of tile t in a GradientPalette.
inline tessra::Pixel GradientTilePixel(int tile, int dx, int dy) {
    return tessra::Rgb(tessra::TileLeft(tile) + dx, tessra::TileTop(tile) + dy, 1);
}
