#pragma once

#include "core/render/palette_build.h"
#include "core/render/surface.h"

#include <cstdio>
#include <string>

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

// A tileset loader: "a:32x16" decodes to a 32 x 16 image whose pixel (x, y) is
// Rgb('a', x, y), so no two tiles look alike; other names fail to load.
inline tessra::Result<tessra::Surface> LoadSynthetic(const std::string& path) {
    char id = 0;
    int width = 0, height = 0;
    if (std::sscanf(path.c_str(), "%c:%dx%d", &id, &width, &height) != 3) {
        return tessra::Error{"Cannot open " + path};
    }
    tessra::Surface image(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            image.Set(x, y, tessra::Rgb(id, x, y));
        }
    }
    return image;
}
