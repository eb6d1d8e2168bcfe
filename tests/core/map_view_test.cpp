#include "core/map_view.h"
#include "view_fixtures.h"

#include <gtest/gtest.h>

using namespace tessra;

namespace {

constexpr Pixel Untouched = Rgb(9, 9, 9); // no GradientPalette pixel has blue 9

MapGrid PatternMap() {
    MapGrid map;
    for (int i = 0; i < CellCount; ++i) {
        map.data()[i] = static_cast<std::uint8_t>(i % MapSize * 7 + i / MapSize * 13);
    }
    return map;
}

} // namespace

// Every view pixel against the cell under it, worked out pixel by pixel. The
// scroll maxima include 8x at 252, 252, where row 255 shows its upper half;
// tiles past a short palette draw black.
TEST(MapView, DrawsEveryZoomAndScrollPosition) {
    const MapGrid map = PatternMap();
    for (int zoomMode = 0; zoomMode < 4; ++zoomMode) {
        const ZoomLevel& zoom = ZoomFor(zoomMode);
        const int size = zoom.cellSize, scale = size / TileSize;
        for (const auto& [scroll, paletteHeight] : {std::pair{ScrollPosition{10, 3}, 240},
                                                    {{zoom.horizMax, zoom.vertMax}, 256},
                                                    {{250, 251}, 256}}) {
            Surface view(ViewWidth, ViewHeight);
            view.Clear(Untouched);
            RedrawMapView(map, GradientPalette(paletteHeight), zoomMode, scroll.x, scroll.y, view);
            int wrong = 0;
            for (int py = 0; py < ViewHeight; ++py) {
                for (int px = 0; px < ViewWidth; ++px) {
                    const int x = scroll.x + px / size, y = scroll.y + py / size;
                    const Pixel expected =
                        (x > 255 || y > 255) ? Untouched
                        : TileTop(map(x, y)) >= paletteHeight
                            ? Black
                            : GradientTilePixel(map(x, y), px % size / scale, py % size / scale);
                    wrong += view.At(px, py) != expected;
                }
            }
            EXPECT_EQ(wrong, 0) << zoom.caption << " at " << scroll.x << "," << scroll.y;
        }
    }
}
