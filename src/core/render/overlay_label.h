#pragma once

namespace tessra {

// A rectangle of view pixels; right and bottom lie just past it.
struct PixelRect {
    int left = 0, top = 0, width = 0, height = 0;
    int right() const { return left + width; }
    int bottom() const { return top + height; }
    bool Intersects(const PixelRect& other) const;
};

// Where a label of the given size goes beside a block drawn over the view, so
// that it never covers the block: below its bottom-right corner, else to its
// right, above or to its left, each kept `margin` inside the view. When the
// block leaves no room, the label sits inside the view's bottom-right corner.
PixelRect PlaceBlockLabel(const PixelRect& view, const PixelRect& block, int labelWidth,
                          int labelHeight, int margin);

} // namespace tessra
