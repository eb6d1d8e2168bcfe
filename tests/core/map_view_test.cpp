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
// scroll maxima include 8x at 252, 252, where row 255 shows its upper half.
TEST(MapView, DrawsEveryZoomAndScrollPosition) {
    const MapGrid map = PatternMap();
    const Surface palette = GradientPalette();
    for (int zoomMode = 0; zoomMode < 4; ++zoomMode) {
        const ZoomLevel& zoom = ZoomFor(zoomMode);
        const int size = zoom.cellSize, scale = size / TileSize;
        for (const ScrollPosition scroll :
             {ScrollPosition{0, 0}, {10, 3}, {zoom.horizMax, zoom.vertMax}, {250, 251}}) {
            Surface view(ViewWidth, ViewHeight);
            view.Clear(Untouched);
            RedrawMapView(map, palette, zoomMode, scroll.x, scroll.y, view);
            int wrong = 0;
            for (int py = 0; py < ViewHeight; ++py) {
                for (int px = 0; px < ViewWidth; ++px) {
                    const int x = scroll.x + px / size, y = scroll.y + py / size;
                    const Pixel expected =
                        (x > 255 || y > 255)
                            ? Untouched
                            : GradientTilePixel(map(x, y), px % size / scale, py % size / scale);
                    wrong += view.At(px, py) != expected;
                }
            }
            EXPECT_EQ(wrong, 0) << zoom.caption << " at " << scroll.x << "," << scroll.y;
        }
    }
}

TEST(MapView, SizesTheViewAndDrawsTilesPastAShortPaletteBlack) {
    MapGrid map;
    map(0, 0) = 240;
    map(1, 0) = 17;
    Surface view;
    RedrawMapView(map, GradientPalette(224), 0, 0, 0, view);
    ASSERT_EQ(view.Width(), ViewWidth);
    ASSERT_EQ(view.Height(), ViewHeight);
    EXPECT_EQ(view.At(5, 5), Black);
    EXPECT_EQ(view.At(16, 0), GradientTilePixel(17, 0, 0));
}

TEST(MapView, ZoomChangeClampsScrollValues) {
    const std::array<int, 5> cases[] = {
        // x, y before, zoom, x, y after
        {252, 252, 0, 224, 228}, {252, 252, 1, 240, 242}, {252, 252, 2, 248, 249},
        {100, 5, 3, 100, 5},     {-3, 300, 3, 0, 252},
    };
    for (const auto& c : cases) {
        const ScrollPosition after = ClampScrollForZoom({c[0], c[1]}, c[2]);
        EXPECT_EQ((std::array{after.x, after.y}), (std::array{c[3], c[4]}));
    }
}

TEST(MapView, WholeMapAtOneToOne) {
    const MapGrid map = PatternMap();
    const Surface whole = RenderWholeMap(map, GradientPalette());
    ASSERT_EQ(whole.Width(), 4096);
    ASSERT_EQ(whole.Height(), 4096);
    for (const auto& [x, y] : {std::pair{0, 0}, {255, 0}, {0, 255}, {255, 255}, {100, 37}}) {
        EXPECT_EQ(whole.At(16 * x + 15, 16 * y + 9), GradientTilePixel(map(x, y), 15, 9));
    }
}
