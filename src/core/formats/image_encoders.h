#pragma once

#include "core/base/result.h"
#include "core/render/surface.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <vector>

namespace tessra {

// Where an encoder hands the bytes of its file, in order, as it makes them.
using ByteOutput = std::function<void(std::span<const std::uint8_t>)>;

// A PNG file (8-bit RGB, no alpha, not interlaced) made a row at a time, top
// to bottom, so that neither the picture nor the file need be held whole.
class PngEncoder {
  public:
    PngEncoder(int width, int height, ByteOutput output);
    ~PngEncoder();
    PngEncoder(const PngEncoder&) = delete;
    PngEncoder& operator=(const PngEncoder&) = delete;

    // `width` pixels. Rows past the height are ignored.
    void AddRow(const Pixel* row);
    // Once every row is in: the file is complete, or the first failure, worded
    // to follow "Cannot write FILE: ".
    Status Finish();

  private:
    struct Context;
    std::unique_ptr<Context> context_;
};

// A BMP file (24 bits a pixel, uncompressed) made a row at a time, bottom to
// top, the order in which the format keeps them.
class BmpEncoder {
  public:
    BmpEncoder(int width, int height, ByteOutput output);

    void AddRow(const Pixel* row);
    Status Finish();

  private:
    ByteOutput output_;
    int width_, height_;
    int rows_ = 0;
    std::vector<std::uint8_t> line_;
};

// Whole image files, as bytes. A picture without pixels gives no PNG bytes,
// as a PNG cannot be empty.
std::vector<std::uint8_t> EncodePng(const Surface& picture);
std::vector<std::uint8_t> EncodeBmp(const Surface& picture);

} // namespace tessra
