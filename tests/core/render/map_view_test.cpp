#include "core/render/map_view.h"
#include "core/view_fixtures.h"

#include <gtest/gtest.h>
#include <tuple>

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

// Every view pixel against the cell under it, worked out pixel by pixel, at
// each zoom's scroll maxima among others: 8x stops at 252, 252, where row 255
// shows its upper half. Tiles past a short palette draw black. A larger view
// whose edges cut cells at every zoom draws them cut, and nothing past them.
TEST(MapView, DrawsEveryZoomAndScrollPosition) {
    const struct {
        int zoomMode, size, horizMax, vertMax;
    } zooms[] = {{0, 16, 224, 228},  {1, 32, 240, 242},  {2, 64, 248, 249},
                 {3, 128, 252, 252}, {-1, 16, 224, 228}, {4, 16, 224, 228}}; // others read as 1x
    const MapGrid map = PatternMap();
    for (const auto& [zoomMode, size, horizMax, vertMax] : zooms) {
        const ZoomLevel& zoom = ZoomFor(zoomMode);
        ASSERT_EQ(std::tuple(zoom.cellSize, zoom.horizMax, zoom.vertMax),
                  std::tuple(size, horizMax, vertMax))
            << zoomMode;
        const int scale = size / TileSize;
        for (const auto& [scroll, paletteHeight, width, height] :
             {std::tuple{ScrollPosition{10, 3}, 240, ViewWidth, ViewHeight},
              {{horizMax, vertMax}, 256, ViewWidth, ViewHeight},
              {{250, 251}, 256, ViewWidth, ViewHeight},
              {{0, 0}, 256, 1000, 707},
              {{200, 190}, 240, 1000, 707}}) {
            Surface view(width, height);
            view.Clear(Untouched);
            RedrawMapView(map, GradientPalette(paletteHeight), zoomMode, scroll.x, scroll.y, view);
            int wrong = 0;
            for (int py = 0; py < height; ++py) {
                for (int px = 0; px < width; ++px) {
                    const int x = scroll.x + px / size, y = scroll.y + py / size;
                    const Pixel expected =
                        (x > 255 || y > 255) ? Untouched
                        : TileTop(map(x, y)) >= paletteHeight
                            ? Black
                            : GradientTilePixel(map(x, y), px % size / scale, py % size / scale);
                    wrong += view.At(px, py) != expected;
                }
            }
            EXPECT_EQ(wrong, 0) << zoomMode << " at " << scroll.x << "," << scroll.y;
        }
    }
}
