#pragma once

#include <cstdint>
#include <vector>

namespace tessra {

// red + 256 * green + 65536 * blue, with 0xFF in the top byte, so that a surface
// wraps into a QImage (Format_RGBX8888) without a copy.
using Pixel = std::uint32_t;

constexpr Pixel Rgb(unsigned red, unsigned green, unsigned blue) {
    return (red & 0xFFu) | (green & 0xFFu) << 8 | (blue & 0xFFu) << 16 | 0xFF000000u;
}

inline constexpr Pixel Black = Rgb(0, 0, 0);
inline constexpr Pixel White = Rgb(255, 255, 255);

// A picture: width x height pixels, rows top to bottom, no padding between rows.
class Surface {
  public:
    Surface() = default;
    Surface(int width, int height) { Resize(width, height); }

    // Sizes the surface and clears it to black.
    void Resize(int width, int height);
    void Clear(Pixel colour = Black);

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Contains(int x, int y) const { return x >= 0 && x < width_ && y >= 0 && y < height_; }

    Pixel* Row(int y) { return pixels_.data() + static_cast<std::size_t>(y) * width_; }
    const Pixel* Row(int y) const { return pixels_.data() + static_cast<std::size_t>(y) * width_; }
    Pixel At(int x, int y) const { return Row(y)[x]; }
    void Set(int x, int y, Pixel colour) { Row(y)[x] = colour; }

    Pixel* data() { return pixels_.data(); }
    const Pixel* data() const { return pixels_.data(); }

    bool operator==(const Surface&) const = default;

  private:
    int width_ = 0;
    int height_ = 0;
    std::vector<Pixel> pixels_;
};

// Copies a w x h block from src at (sx, sy) to dst at (dx, dy). Source pixels
// outside src read as black; destination pixels outside dst are skipped.
void BitBlt(Surface& dst, int dx, int dy, int w, int h, const Surface& src, int sx, int sy);

// Copies the sw x sh block of src at (sx, sy) onto the dw x dh block of dst at
// (dx, dy), enlarging or shrinking by nearest neighbour. Clipping as BitBlt.
void StretchBlt(Surface& dst, int dx, int dy, int dw, int dh, const Surface& src, int sx, int sy,
                int sw, int sh);

} // namespace tessra
