#include "core/map_view.h"
#include "view_fixtures.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <tuple>
#include <vector>

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

// The whole map's bands at the top, in the middle and at the bottom, as
// pixels and as bytes, from a whole palette and a short one whose missing
// tiles draw black; a row outside the map draws a black band.
TEST(MapView, DrawsTheWholeMapBandByBand) {
    const MapGrid map = PatternMap();
    Surface band;
    std::vector<std::uint8_t> bytes(3 * 4096 * 16);
    for (const int paletteHeight : {256, 240}) {
        const Surface palette = GradientPalette(paletteHeight);
        const std::vector<std::uint8_t> packed = PackPalette(palette);
        for (const int row : {0, 117, 255, -1, 256}) {
            band.Clear(Untouched);
            std::fill(bytes.begin(), bytes.end(), 9);
            DrawWholeMapBand(map, palette, row, band);
            DrawWholeMapBand(map, packed, row, bytes.data());
            ASSERT_EQ(band.Width(), 4096);
            ASSERT_EQ(band.Height(), 16);
            int wrong = 0, wrongBytes = 0;
            for (int py = 0; py < 16; ++py) {
                for (int px = 0; px < 4096; ++px) {
                    const int tile = row < 0 || row > 255 ? -1 : map(px / 16, row);
                    const Pixel expected = tile < 0 || TileTop(tile) >= paletteHeight
                                               ? Black
                                               : GradientTilePixel(tile, px % 16, py);
                    wrong += band.At(px, py) != expected;
                    const std::uint8_t* rgb = bytes.data() + 3 * (4096 * py + px);
                    wrongBytes += Rgb(rgb[0], rgb[1], rgb[2]) != expected;
                }
            }
            EXPECT_EQ(wrong, 0) << "row " << row << ", palette height " << paletteHeight;
            EXPECT_EQ(wrongBytes, 0) << "row " << row << ", palette height " << paletteHeight;
        }
    }
}
