#include "core/render/overlay_label.h"

#include <algorithm>

namespace tessra {

bool PixelRect::Intersects(const PixelRect& other) const {
    return left < other.right() && other.left < right() && top < other.bottom() &&
           other.top < bottom();
}

PixelRect PlaceBlockLabel(const PixelRect& view, const PixelRect& block, int labelWidth,
                          int labelHeight, int margin) {
    const auto inView = [&](int left, int top) {
        const int maxLeft = std::max(view.left + margin, view.right() - margin - labelWidth);
        const int maxTop = std::max(view.top + margin, view.bottom() - margin - labelHeight);
        return PixelRect{std::clamp(left, view.left + margin, maxLeft),
                         std::clamp(top, view.top + margin, maxTop), labelWidth, labelHeight};
    };
    const int besideRight = block.right() - labelWidth, besideBottom = block.bottom() - labelHeight;
    const PixelRect tries[] = {
        inView(besideRight, block.bottom() + margin),           // below
        inView(block.right() + margin, besideBottom),           // to the right
        inView(besideRight, block.top - margin - labelHeight),  // above
        inView(block.left - margin - labelWidth, besideBottom), // to the left
    };
    for (const PixelRect& place : tries) {
        if (!place.Intersects(block)) {
            return place;
        }
    }
    return inView(view.right(), view.bottom());
}

} // namespace tessra
