#include "cli/image_output.h"

#include "cli/cli_files.h"
#include "core/formats/image_encoders.h"
#include "core/render/pack_rgb.h"
#include "io/file_io.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace tessra {

namespace {

bool EndsWithNoCase(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() &&
           std::equal(suffix.begin(), suffix.end(), text.end() - suffix.size(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(b)) == a;
           });
}

std::span<const std::uint8_t> AsBytes(std::string_view text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

std::string PpmHeader(int width, int height) {
    return "P6\n" + std::to_string(width) + ' ' + std::to_string(height) + "\n255\n";
}

} // namespace

// Bytes on their way to an output file, written in pieces of exactly Piece
// bytes, so that each write starts at a multiple of it: the system then keeps
// the file's pages in large blocks. Pieces of whole lines, which end inside
// such a block, made a 4096 x 4096 PPM take half as long again. What lies past
// a piece waits for the next; no buffer of the file's size is made.
class OutputBuffer {
  public:
    static constexpr std::size_t Piece = 256 * 1024;
    static constexpr std::size_t Slack = 64;

    explicit OutputBuffer(const std::string& path)
        : file_(OpenOutputFile(path, Durability::Derived)), pending_(2 * Piece + Slack) {}

    void Put(std::span<const std::uint8_t> bytes) {
        while (!bytes.empty()) {
            const std::size_t size = std::min(bytes.size(), Piece);
            std::memcpy(Reserve(size), bytes.data(), size);
            bytes = bytes.subspan(size);
        }
    }

    // Room for `size` bytes, and Slack more that may be overwritten, to be
    // filled before the next call.
    std::uint8_t* Reserve(std::size_t size) {
        while (used_ >= Piece) {
            file_->Write(std::span(pending_.data(), Piece));
            used_ -= Piece;
            std::memmove(pending_.data(), pending_.data() + Piece, used_);
        }
        if (used_ + size + Slack > pending_.size()) {
            pending_.resize(used_ + size + Slack);
        }
        std::uint8_t* room = pending_.data() + used_;
        used_ += size;
        return room;
    }

    Status Finish() {
        file_->Write(std::span(pending_.data(), used_));
        used_ = 0;
        return file_->Commit();
    }

  private:
    std::unique_ptr<AtomicFileWriter> file_;
    std::vector<std::uint8_t> pending_;
    std::size_t used_ = 0;
};

namespace {

class PpmFileWriter final : public ImageFileWriter {
  public:
    PpmFileWriter(const std::string& path, int width, int height)
        : output_(path), width_(static_cast<std::size_t>(width)) {
        output_.Put(AsBytes(PpmHeader(width, height)));
    }
    void AddRow(const Pixel* row) override { PackRgb(row, width_, output_.Reserve(3 * width_)); }
    std::uint8_t* RgbRows(int count) override {
        return output_.Reserve(3 * width_ * static_cast<std::size_t>(count));
    }
    Status Finish() override { return output_.Finish(); }

  private:
    OutputBuffer output_;
    std::size_t width_;
};

// PNG and BMP: a core encoder writing into the file.
template <class Encoder, bool Reversed> class EncodedFileWriter final : public ImageFileWriter {
  public:
    EncodedFileWriter(const std::string& path, int width, int height)
        : path_(path), output_(path),
          encoder_(width, height,
                   [this](std::span<const std::uint8_t> bytes) { output_.Put(bytes); }) {}
    bool BottomUp() const override { return Reversed; }
    void AddRow(const Pixel* row) override { encoder_.AddRow(row); }
    Status Finish() override {
        if (Status encoded = encoder_.Finish(); !encoded) {
            return Error{"Cannot write " + path_ + ": " + encoded.message()};
        }
        return output_.Finish();
    }

  private:
    std::string path_;
    OutputBuffer output_;
    Encoder encoder_;
};

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

std::unique_ptr<ImageFileWriter> ImageFileWriter::Open(const std::string& path, ImageFormat format,
                                                       int width, int height) {
    switch (format) {
    case ImageFormat::Png:
        return std::make_unique<EncodedFileWriter<PngEncoder, false>>(path, width, height);
    case ImageFormat::Bmp:
        return std::make_unique<EncodedFileWriter<BmpEncoder, true>>(path, width, height);
    case ImageFormat::Ppm:
        break;
    }
    return std::make_unique<PpmFileWriter>(path, width, height);
}

void ImageFileWriter::AddRows(const Surface& band) {
    for (int i = 0; i < band.Height(); ++i) {
        AddRow(band.Row(BottomUp() ? band.Height() - 1 - i : i));
    }
}

Status WriteImageFile(const std::string& path, const Surface& picture, ImageFormat format) {
    const auto file = ImageFileWriter::Open(path, format, picture.Width(), picture.Height());
    file->AddRows(picture);
    return file->Finish();
}

PpmLineWriter::PpmLineWriter(std::string path) : path_(std::move(path)) {}

PpmLineWriter::~PpmLineWriter() = default;

void PpmLineWriter::Start(int width, int height, PcxKind kind) {
    kind_ = kind;
    if (kind != PcxKind::Unsupported) {
        output_ = std::make_unique<OutputBuffer>(path_);
        output_->Put(AsBytes(PpmHeader(width, height)));
        width_ = static_cast<std::size_t>(width);
        row_.resize(width_);
    }
}

Pixel* PpmLineWriter::Row(int) {
    inRow_ = true;
    return row_.data();
}

std::uint8_t* PpmLineWriter::RgbRow(int) {
    static_assert(OutputBuffer::Slack >= RgbSlack);
    inRow_ = false;
    return output_->Reserve(3 * width_);
}

void PpmLineWriter::Painted(int) {
    if (inRow_) {
        PackRgb(row_.data(), width_, output_->Reserve(3 * width_));
    }
}

Status PpmLineWriter::Finish() {
    return output_ ? output_->Finish() : Status{};
}

} // namespace tessra
