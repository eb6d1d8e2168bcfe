#include "cli/image_output.h"

#include "cli/cli_files.h"
#include "cli/pack_rgb.h"
#include "core/image_encoders.h"
#include "platform/file_io.h"

#include <algorithm>
#include <cctype>
#include <memory>

namespace tessra {

namespace {

bool EndsWithNoCase(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() &&
           std::equal(suffix.begin(), suffix.end(), text.end() - suffix.size(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(b)) == a;
           });
}

// Header and pixels go out as the lines come, some 256 KB at a time: few
// enough writes, the bytes still in the cache when the system copies them,
// and no buffer of the file's size.
constexpr std::size_t PendingBytes = 256 * 1024;

} // namespace

// A binary PPM file (P6, maxval 255) written a line at a time.
class PpmFile {
  public:
    PpmFile(const std::string& path, int width, int height)
        : file_(OpenOutputFile(path, Durability::Derived)),
          width_(static_cast<std::size_t>(width)) {
        const std::string header =
            "P6\n" + std::to_string(width) + ' ' + std::to_string(height) + "\n255\n";
        file_->Write(
            std::span(reinterpret_cast<const std::uint8_t*>(header.data()), header.size()));
        const std::size_t line = 3 * width_;
        pending_.resize(std::max(PendingBytes / line, std::size_t{1}) * line);
    }

    void AddLine(const Pixel* row) {
        PackRgb(row, width_, pending_.data() + used_);
        used_ += 3 * width_;
        if (used_ == pending_.size()) {
            file_->Write(pending_);
            used_ = 0;
        }
    }

    Status Finish() {
        file_->Write(std::span(pending_.data(), used_));
        return file_->Commit();
    }

  private:
    std::unique_ptr<AtomicFileWriter> file_;
    std::size_t width_;
    std::vector<std::uint8_t> pending_;
    std::size_t used_ = 0;
};

namespace {

Status WritePpm(const std::string& path, const Surface& picture) {
    PpmFile file(path, picture.Width(), picture.Height());
    for (int y = 0; y < picture.Height(); ++y) {
        file.AddLine(picture.Row(y));
    }
    return file.Finish();
}

} // namespace

std::optional<ImageFormat> ImageFormatOf(std::string_view path) {
    if (path == StandardOutputName) {
        return ImageFormat::Ppm;
    }
    if (EndsWithNoCase(path, ".png")) {
        return ImageFormat::Png;
    }
    if (EndsWithNoCase(path, ".bmp")) {
        return ImageFormat::Bmp;
    }
    if (EndsWithNoCase(path, ".ppm")) {
        return ImageFormat::Ppm;
    }
    return std::nullopt;
}

Status WriteImageFile(const std::string& path, const Surface& picture, ImageFormat format) {
    switch (format) {
    case ImageFormat::Png:
        return WriteOutputFile(path, EncodePng(picture), Durability::Derived);
    case ImageFormat::Bmp:
        return WriteOutputFile(path, EncodeBmp(picture), Durability::Derived);
    case ImageFormat::Ppm:
        break;
    }
    return WritePpm(path, picture);
}

PpmLineWriter::PpmLineWriter(std::string path) : path_(std::move(path)) {}

PpmLineWriter::~PpmLineWriter() = default;

void PpmLineWriter::Start(int width, int height, PcxKind kind) {
    kind_ = kind;
    if (kind != PcxKind::Unsupported) {
        file_ = std::make_unique<PpmFile>(path_, width, height);
        row_.resize(static_cast<std::size_t>(width));
    }
}

Pixel* PpmLineWriter::Row(int) {
    return row_.data();
}

void PpmLineWriter::Painted(int) {
    file_->AddLine(row_.data());
}

Status PpmLineWriter::Finish() {
    return file_ ? file_->Finish() : Status{};
}

} // namespace tessra
