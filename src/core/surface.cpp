#include "core/surface.h"

#include <algorithm>

namespace tessra {

void Surface::Resize(int width, int height) {
    width_ = std::max(width, 0);
    height_ = std::max(height, 0);
    pixels_.assign(static_cast<std::size_t>(width_) * height_, Black);
}

void Surface::Clear(Pixel colour) { std::fill(pixels_.begin(), pixels_.end(), colour); }

void BitBlt(Surface& dst, int dx, int dy, int w, int h, const Surface& src, int sx, int sy) {
    StretchBlt(dst, dx, dy, w, h, src, sx, sy, w, h);
}

void StretchBlt(Surface& dst, int dx, int dy, int dw, int dh, const Surface& src, int sx, int sy,
                int sw, int sh) {
    if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) {
        return;
    }
    const int x0 = std::max(dx, 0);
    const int x1 = std::min(dx + dw, dst.Width());
    const int y0 = std::max(dy, 0);
    const int y1 = std::min(dy + dh, dst.Height());
    for (int y = y0; y < y1; ++y) {
        const int srcY = sy + static_cast<int>(static_cast<long long>(y - dy) * sh / dh);
        Pixel* out = dst.Row(y);
        const bool rowInside = srcY >= 0 && srcY < src.Height();
        const Pixel* in = rowInside ? src.Row(srcY) : nullptr;
        for (int x = x0; x < x1; ++x) {
            const int srcX = sx + static_cast<int>(static_cast<long long>(x - dx) * sw / dw);
            out[x] = (in && srcX >= 0 && srcX < src.Width()) ? in[srcX] : Black;
        }
    }
}

} // namespace tessra
