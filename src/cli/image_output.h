#pragma once

#include "core/pcx.h"
#include "core/result.h"
#include "core/surface.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessra {

enum class ImageFormat { Png, Bmp, Ppm };

// The format an output file's name asks for: .png, .bmp or .ppm, in any case;
// standard output gets PPM.
std::optional<ImageFormat> ImageFormatOf(std::string_view path);

// Writes the picture in the given format through a temporary file, so a
// failure leaves an existing file whole. PPM is binary (P6, maxval 255); PNG
// and BMP have no alpha channel.
Status WriteImageFile(const std::string& path, const Surface& picture, ImageFormat format);

class PpmFile;

// Writes a PCX picture to a PPM file as the decoder hands over its lines, so
// that neither the picture nor the file is ever held whole. A kind that is
// not drawn writes nothing.
class PpmLineWriter final : public PcxLineSink {
  public:
    explicit PpmLineWriter(std::string path);
    ~PpmLineWriter() override;

    void Start(int width, int height, PcxKind kind) override;
    Pixel* Row(int y) override;
    void Painted(int y) override;

    PcxKind kind() const { return kind_; }
    // Once the last line is painted: the file replaces any earlier one.
    Status Finish();

  private:
    std::string path_;
    PcxKind kind_ = PcxKind::Unsupported;
    std::unique_ptr<PpmFile> file_;
    std::vector<Pixel> row_;
};

} // namespace tessra
