#include "core/render/map_view.h"
#include "core/render/overlay_label.h"
#include "core/render/pack_rgb.h"
#include "core/render/surface.h"
#include "core/view_fixtures.h"

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

// StretchBlt enlarges by repeating and clips; BitBlt reads black outside its source.
TEST(Surface, BlitsClipAndReadBlackOutsideTheSource) {
    Surface src(2, 1);
    src.Set(0, 0, Rgb(1, 2, 3));
    src.Set(1, 0, White);
    Surface dst(5, 2);
    StretchBlt(dst, 1, 0, 4, 4, src, 0, 0, 2, 1);
    EXPECT_EQ(dst.At(0, 0), Black);
    EXPECT_EQ(dst.At(2, 1), Rgb(1, 2, 3));
    EXPECT_EQ(dst.At(3, 0), White);
    EXPECT_EQ(dst.At(4, 1), White);

    BitBlt(dst, 0, 0, 2, 2, src, 1, 0);
    EXPECT_EQ(dst.At(0, 0), White);
    EXPECT_EQ(dst.At(1, 0), Black);
    EXPECT_EQ(dst.At(0, 1), Black);
}

// Every count from 0 to 40 runs the wide steps and each length of the tail;
// the bytes after the output must stay as they were.
TEST(PackRgb, WritesThreeBytesAPixelAndNothingPastThem) {
    constexpr std::uint8_t Guard = 0xA5;
    constexpr std::size_t GuardBytes = 32;
    for (std::size_t count = 0; count <= 40; ++count) {
        std::vector<Pixel> pixels;
        std::vector<std::uint8_t> red, green, blue, expected;
        for (std::size_t i = 0; i < count; ++i) {
            const auto r = static_cast<std::uint8_t>(3 * i + 1);
            const auto g = static_cast<std::uint8_t>(200 - i);
            const auto b = static_cast<std::uint8_t>(i * i);
            pixels.push_back(Rgb(r, g, b));
            red.push_back(r);
            green.push_back(g);
            blue.push_back(b);
            expected.insert(expected.end(), {r, g, b});
        }
        expected.insert(expected.end(), GuardBytes, Guard);
        std::vector<std::uint8_t> packed(3 * count + GuardBytes, Guard);
        PackRgb(pixels.data(), count, packed.data());
        EXPECT_EQ(packed, expected) << count << " pixels";
        std::vector<std::uint8_t> interleaved(3 * count + GuardBytes, Guard);
        InterleaveRgb(red.data(), green.data(), blue.data(), count, interleaved.data());
        EXPECT_EQ(interleaved, expected) << count << " pixels from planes";
    }
}

// A 120 x 18 label beside blocks of a 512 x 448 view: outside the block while
// there is room, inside the view's corner once the block fills it.
TEST(OverlayLabel, NeverCoversTheBlock) {
    const PixelRect view{0, 0, 512, 448};
    const struct {
        const char* name;
        PixelRect block;
        int left, top;
    } cases[] = {
        {"small block at the top left", {0, 0, 80, 48}, 4, 52},
        {"full width", {0, 0, 512, 400}, 388, 404},
        {"full height", {0, 0, 300, 448}, 304, 426},
        {"scrolled so its corner shows", {-1000, -1000, 1100, 1100}, 4, 104},
        {"ending at the view's corner", {-10, -10, 522, 458}, 388, 426},
        {"filling the view", {0, 0, 4096, 4096}, 388, 426},
        {"scrolled out of sight", {-4096, -4096, 16, 16}, 4, 4},
    };
    for (const auto& c : cases) {
        const PixelRect label = PlaceBlockLabel(view, c.block, 120, 18, 4);
        EXPECT_EQ(label.left, c.left) << c.name;
        EXPECT_EQ(label.top, c.top) << c.name;
    }
}
