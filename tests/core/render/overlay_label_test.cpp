#include "core/render/overlay_label.h"

#include <gtest/gtest.h>

using namespace tessra;

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
