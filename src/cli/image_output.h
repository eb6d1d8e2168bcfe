#pragma once

#include "core/base/result.h"
#include "core/formats/pcx.h"
#include "core/render/surface.h"

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

// A picture file written a row at a time through a temporary file, so that
// neither the picture nor the file is ever held whole and a failure leaves an
// existing file whole. PPM is binary (P6, maxval 255); PNG and BMP have no
// alpha channel.
class ImageFileWriter {
  public:
    static std::unique_ptr<ImageFileWriter> Open(const std::string& path, ImageFormat format,
                                                 int width, int height);
    virtual ~ImageFileWriter() = default;

    // BMP keeps its rows bottom to top, the others top to bottom.
    virtual bool BottomUp() const { return false; }
    // The next row in the file's order: `width` pixels.
    virtual void AddRow(const Pixel* row) = 0;
    // Every row of a band of the picture, in the file's order.
    void AddRows(const Surface& band);
    // For a file that keeps red, green, blue bytes (PPM): room for the next
    // `count` rows, to be filled before the next call; else null.
    virtual std::uint8_t* RgbRows(int) { return nullptr; }
    // Once the last row is in: the file replaces any earlier one.
    virtual Status Finish() = 0;
};

Status WriteImageFile(const std::string& path, const Surface& picture, ImageFormat format);

class OutputBuffer;

// Writes a PCX picture to a PPM file as the decoder hands over its lines, the
// 256-colour and true colour kinds straight into the file's bytes. A kind that
// is not drawn writes nothing.
class PpmLineWriter final : public PcxLineSink {
  public:
    explicit PpmLineWriter(std::string path);
    ~PpmLineWriter() override;

    void Start(int width, int height, PcxKind kind) override;
    Pixel* Row(int y) override;
    std::uint8_t* RgbRow(int y) override;
    void Painted(int y) override;

    PcxKind kind() const { return kind_; }
    // Once the last line is painted: the file replaces any earlier one.
    Status Finish();

  private:
    std::string path_;
    PcxKind kind_ = PcxKind::Unsupported;
    std::unique_ptr<OutputBuffer> output_;
    std::size_t width_ = 0;
    std::vector<Pixel> row_;
    bool inRow_ = false; // the line being painted is in row_, not yet in the file
};

} // namespace tessra
