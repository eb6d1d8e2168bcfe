#pragma once

#include "core/model/tile_attributes.h"
#include "core/render/surface.h"

namespace tessra {

// Copies the 16 x 16 tile at (sx, sy) of src to (dx, dy) of dst, mirrored left
// to right with hflip and top to bottom with vflip, as the console draws a
// flipped map entry. Clipping as BitBlt.
void DrawTileFlipped(Surface& dst, int dx, int dy, const Surface& src, int sx, int sy, bool hflip,
                     bool vflip);

// The palette picture with every tile drawn as its attributes flip it: what
// the map view and the palette show.
Surface FlippedPalette(const Surface& palette, const TileAttributeTable& attributes);

// The picture of numbering metatile, 128 x 512: its 8 x 8 tile k, 16 a row,
// is quarter k mod 4 (top-left, top-right, bottom-left, bottom-right) of tile
// k div 4, unflipped, since the map's entries do the flipping.
inline constexpr int MetatilePaletteWidth = 128, MetatilePaletteHeight = 512;
Surface MetatilePalette(const Surface& palette);

} // namespace tessra
