#pragma once

#include "core/model/map_grid.h"
#include "core/render/palette_build.h"
#include "core/render/surface.h"

#include <array>
#include <cstdint>
#include <vector>

namespace tessra {

inline constexpr int ViewWidth = 512, ViewHeight = 448;

// One zoom level of the map view and the scroll bar settings it brings.
struct ZoomLevel {
    const char* caption; // the optScaleMode option
    int cellSize;        // pixels per map cell
    int lastColumn;      // columns 0..lastColumn are drawn
    int lastRow;         // rows 0..lastRow are drawn
    int horizMax, vertMax;
    int horizPage, vertPage;
};

// Indexed by ZoomMode. At 8x the vertical maximum is 252, not 253, so that the
// half row at the bottom can show row 255.
inline constexpr std::array<ZoomLevel, 4> ZoomTable{{
    {"1x", 16, 32, 28, 224, 228, 32, 28},
    {"2x", 32, 16, 14, 240, 242, 16, 14},
    {"4x", 64, 8, 7, 248, 249, 8, 7},
    {"8x", 128, 4, 3, 252, 252, 4, 4},
}};

// The zoom level for a ZoomMode; values outside 0..3 read as 1x.
const ZoomLevel& ZoomFor(int zoomMode);

struct ScrollPosition {
    int x, y; // the map column and row at the view's top-left corner
};

// A scroll bar's value within 0..max, as the bar keeps it when its Max shrinks.
constexpr int ClampScroll(int value, int max) {
    return value > max ? max : (value < 0 ? 0 : value);
}
ScrollPosition ClampScrollForZoom(ScrollPosition scroll, int zoomMode);

// The scroll bars' maxima and page steps for a view of any size: the page is
// the number of whole cells visible, the maximum puts the last of them on
// column or row 255. The default 512 x 448 view keeps the zoom table.
struct ScrollLimits {
    int horizMax, vertMax;
    int horizPage, vertPage;
};
ScrollLimits ScrollLimitsFor(int zoomMode, int viewWidth, int viewHeight);

// Draws the visible cells of the map from the palette into the view, at the
// view's size (an empty view becomes 512 x 448). Cells beyond column or row
// 255 are left as they were, as are cells of a negative scroll position.
void RedrawMapView(const MapGrid& map, const Surface& palette, int zoomMode, int scrollX,
                   int scrollY, Surface& view);

// The whole 256 x 256 map at 1x is 4096 x 4096 pixels: too much to hold when
// it is only being written out, so it is drawn one row of cells at a time.
inline constexpr int WholeMapSide = MapSize * TileSize;

// Draws map row `row` (0..255) into `band`, sized WholeMapSide x TileSize: the
// band's pixel rows are rows 16 x row to 16 x row + 15 of the whole map.
// Another row draws black.
void DrawWholeMapBand(const MapGrid& map, const Surface& palette, int row, Surface& band);

// The palette as red, green, blue bytes, 256 x 256 pixels, padded with black.
std::vector<std::uint8_t> PackPalette(const Surface& palette);

// The same band as red, green, blue bytes from a packed palette, for a file
// that keeps them so: TileSize rows of 3 x WholeMapSide bytes from `out`.
void DrawWholeMapBand(const MapGrid& map, const std::vector<std::uint8_t>& packedPalette, int row,
                      std::uint8_t* out);

} // namespace tessra
