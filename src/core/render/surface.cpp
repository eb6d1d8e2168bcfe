#include "core/render/surface.h"

#include <algorithm>
#include <cstring>

namespace tessra {
namespace {

// Destination pixels x0..x1 of one row from source row `in` (null when the
// source row lies outside the picture) at one-to-one scale.
void CopyRow(Pixel* out, int x0, int x1, const Pixel* in, int srcWidth, long long shift) {
    // Destination x reads source x + shift; keep the part that lands inside.
    const auto inside0 = static_cast<int>(std::clamp<long long>(-shift, x0, x1));
    const auto inside1 =
        in ? static_cast<int>(std::clamp<long long>(srcWidth - shift, inside0, x1)) : inside0;
    std::fill(out + x0, out + inside0, Black);
    if (inside1 > inside0) {
        std::memmove(out + inside0, in + inside0 + shift,
                     static_cast<std::size_t>(inside1 - inside0) * sizeof(Pixel));
    }
    std::fill(out + inside1, out + x1, Black);
}

// The same with nearest-neighbour scaling: destination x reads source
// sx + floor((x - dx) * sw / dw), stepped without a division per pixel.
void StretchRow(Pixel* out, int x0, int x1, int dx, int dw, const Pixel* in, int srcWidth, int sx,
                int sw) {
    const long long start = static_cast<long long>(x0 - dx) * sw;
    long long srcX = sx + start / dw;
    long long rest = start % dw;
    const long long whole = sw / dw;
    const long long part = sw % dw;
    for (int x = x0; x < x1; ++x) {
        out[x] = (in && srcX >= 0 && srcX < srcWidth) ? in[srcX] : Black;
        srcX += whole;
        rest += part;
        if (rest >= dw) {
            rest -= dw;
            ++srcX;
        }
    }
}

} // namespace

void Surface::Resize(int width, int height) {
    width_ = std::max(width, 0);
    height_ = std::max(height, 0);
    pixels_.assign(static_cast<std::size_t>(width_) * height_, Black);
}

void Surface::Clear(Pixel colour) {
    std::fill(pixels_.begin(), pixels_.end(), colour);
}

void BitBlt(Surface& dst, int dx, int dy, int w, int h, const Surface& src, int sx, int sy) {
    StretchBlt(dst, dx, dy, w, h, src, sx, sy, w, h);
}

void StretchBlt(Surface& dst, int dx, int dy, int dw, int dh, const Surface& src, int sx, int sy,
                int sw, int sh) {
    if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) {
        return;
    }
    const int x0 = std::max(dx, 0);
    const int x1 =
        static_cast<int>(std::min<long long>(static_cast<long long>(dx) + dw, dst.Width()));
    const int y0 = std::max(dy, 0);
    const int y1 =
        static_cast<int>(std::min<long long>(static_cast<long long>(dy) + dh, dst.Height()));
    if (x0 >= x1) {
        return;
    }
    const std::size_t rowBytes = static_cast<std::size_t>(x1 - x0) * sizeof(Pixel);
    long long lastSrcY = -1;
    const Pixel* lastOut = nullptr;
    for (int y = y0; y < y1; ++y) {
        const long long srcY = sy + static_cast<long long>(y - dy) * sh / dh;
        Pixel* out = dst.Row(y);
        // An enlarged row repeats the one above it.
        if (lastOut && srcY == lastSrcY) {
            std::memcpy(out + x0, lastOut + x0, rowBytes);
            continue;
        }
        const Pixel* in =
            (srcY >= 0 && srcY < src.Height()) ? src.Row(static_cast<int>(srcY)) : nullptr;
        if (sw == dw) {
            CopyRow(out, x0, x1, in, src.Width(), static_cast<long long>(sx) - dx);
        } else {
            StretchRow(out, x0, x1, dx, dw, in, src.Width(), sx, sw);
        }
        lastSrcY = srcY;
        lastOut = out;
    }
}

} // namespace tessra
