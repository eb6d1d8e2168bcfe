#pragma once

#include "core/result.h"
#include "core/surface.h"

#include <optional>
#include <string>
#include <string_view>

namespace tessra {

enum class ImageFormat { Png, Bmp, Ppm };

// The format an output file's name asks for: .png, .bmp or .ppm, in any case.
std::optional<ImageFormat> ImageFormatOf(std::string_view path);

// Writes the picture in the given format through a temporary file, so a
// failure leaves an existing file whole. PPM is binary (P6, maxval 255); PNG
// and BMP have no alpha channel.
Status WriteImageFile(const std::string& path, const Surface& picture, ImageFormat format);

} // namespace tessra
