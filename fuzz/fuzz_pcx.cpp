// Decodes any bytes as a tileset. Pictures up to a megapixel are decoded whole,
// held to the plain decoding (a difference stops the run like a crash) and cut
// into the palette, as the editor loads a tileset; then line by line as
// pcx-to-image writes PPM (red, green, blue bytes where the kind paints them
// so, in a line with no more room than the sink promises), which must give the
// same lines. Larger ones, up to 16 megapixels, are decoded line by line only:
// every pixel is still painted, but no picture of that size is held.
#include "core/formats/pcx.h"
#include "core/model/editor_state.h"
#include "core/render/palette_build.h"
#include "support/pcx_reference.h"
#include "support/picture_files.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <span>
#include <vector>

namespace {

constexpr long WholeLimit = 1L << 20;
constexpr long LineLimit = 16L << 20;

// Checks the order of the calls and keeps the lines when asked to.
class Lines final : public tessra::PcxLineSink {
  public:
    explicit Lines(bool keep) : keep_(keep) {}

    void Start(int width, int height, tessra::PcxKind kind) override {
        if (started_ || width < 1 || height < 1) {
            std::abort();
        }
        started_ = true;
        width_ = static_cast<std::size_t>(width);
        height_ = height;
        drawn_ = kind != tessra::PcxKind::Unsupported;
        row_.resize(width_);
        // Exactly the room promised, so that a write past it is caught.
        rgb_ = std::make_unique<std::uint8_t[]>(3 * width_ + RgbSlack);
    }
    tessra::Pixel* Row(int y) override {
        Check(y);
        return row_.data();
    }
    std::uint8_t* RgbRow(int y) override {
        Check(y);
        rgbLine_ = true;
        return rgb_.get();
    }
    void Painted(int y) override {
        if (y != next_++) {
            std::abort();
        }
        for (std::size_t x = 0; keep_ && x < width_; ++x) {
            const std::uint8_t* rgb = rgb_.get() + 3 * x;
            pixels_.push_back(rgbLine_ ? tessra::Rgb(rgb[0], rgb[1], rgb[2]) : row_[x]);
        }
        rgbLine_ = false;
    }
    // After a decode that was not refused: every line of a drawn kind came.
    void CheckComplete() const {
        if (!started_ || next_ != (drawn_ ? height_ : 0)) {
            std::abort();
        }
    }
    const std::vector<tessra::Pixel>& pixels() const { return pixels_; }

  private:
    void Check(int y) const {
        if (!drawn_ || y != next_) {
            std::abort();
        }
    }

    bool keep_;
    bool started_ = false, drawn_ = false, rgbLine_ = false;
    std::size_t width_ = 0;
    int height_ = 0, next_ = 0;
    std::vector<tessra::Pixel> row_, pixels_;
    std::unique_ptr<std::uint8_t[]> rgb_;
};

void CheckAgainstPlain(std::span<const std::uint8_t> file, const tessra::Surface& picture) {
    // A stride far beyond the width makes the plain buffer too large to hold.
    if (tessra::PlainDecodeBytes(file) > (std::size_t{1} << 26)) {
        return;
    }
    const std::string difference = tessra::Difference(picture, tessra::PlainDecodePCX(file));
    if (!difference.empty()) {
        std::fprintf(stderr, "differs from the plain decoding: %s\n", difference.c_str());
        std::abort();
    }
}

void CheckLines(std::span<const std::uint8_t> file, const tessra::Surface& picture) {
    Lines lines(true);
    if (!tessra::DecodePCX(file, lines).ok()) {
        std::abort(); // the whole decoding took these bytes
    }
    lines.CheckComplete();
    if (lines.pixels().empty()) {
        return; // a kind the editor does not draw
    }
    if (lines.pixels().size() != static_cast<std::size_t>(picture.Width()) * picture.Height() ||
        std::memcmp(lines.pixels().data(), picture.Row(0),
                    lines.pixels().size() * sizeof(tessra::Pixel)) != 0) {
        std::abort(); // line by line must paint what the whole picture shows
    }
}

void DecodeWhole(std::span<const std::uint8_t> file) {
    tessra::Result<tessra::PcxImage> image = tessra::DecodePCX(file);
    if (!image) {
        Lines lines(false);
        (void)tessra::DecodePCX(file, lines);
        return;
    }
    CheckAgainstPlain(file, image.value().picture);
    CheckLines(file, image.value().picture);
    tessra::EditorState state;
    state.Tilesets = {"a.pcx", "b.pcx"};
    tessra::Surface palette;
    const auto load = [&](const std::string&) -> tessra::Result<tessra::Surface> {
        return image.value().picture;
    };
    tessra::ReloadTilesets(state, palette, load);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> file(data, size);
    const auto header = tessra::ReadPcxHeader(file);
    const long pixels = header ? (header->XMax + 1L) * (header->YMax + 1L) : 0;
    if (pixels <= WholeLimit) {
        DecodeWhole(file);
    } else if (pixels <= LineLimit) {
        Lines lines(false);
        if (tessra::DecodePCX(file, lines).ok()) {
            lines.CheckComplete();
        }
    }
    return 0;
}
