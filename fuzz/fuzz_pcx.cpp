// Decodes any bytes as a tileset. Pictures up to a megapixel are decoded whole
// and cut into the palette, as the editor loads a tileset, and line by line as
// well, which must give the same lines. Larger ones, up to 16 megapixels, are
// decoded line by line only, as pcx-to-image writes PPM: every pixel is still
// painted, but no picture of that size is held.
#include "core/editor_state.h"
#include "core/palette.h"
#include "core/pcx.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
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
        width_ = width;
        height_ = height;
        drawn_ = kind != tessra::PcxKind::Unsupported;
        row_.resize(static_cast<std::size_t>(width));
    }
    tessra::Pixel* Row(int y) override {
        if (!drawn_ || y != next_) {
            std::abort();
        }
        return row_.data();
    }
    void Painted(int y) override {
        if (y != next_++) {
            std::abort();
        }
        if (keep_) {
            pixels_.insert(pixels_.end(), row_.begin(), row_.end());
        }
    }
    // After a decode that was not refused: every line of a drawn kind came.
    void CheckComplete() const {
        if (!started_ || (drawn_ && next_ != height_) || (!drawn_ && next_ != 0)) {
            std::abort();
        }
    }
    const std::vector<tessra::Pixel>& pixels() const { return pixels_; }

  private:
    bool keep_;
    bool started_ = false, drawn_ = false;
    int width_ = 0, height_ = 0, next_ = 0;
    std::vector<tessra::Pixel> row_, pixels_;
};

void DecodeWhole(std::span<const std::uint8_t> file) {
    tessra::EditorState state;
    state.Tilesets = {"a.pcx", "b.pcx"};
    tessra::Surface palette;
    tessra::Surface picture;
    tessra::ReloadTilesets(state, palette,
                           [&](const std::string&) -> tessra::Result<tessra::Surface> {
                               auto image = tessra::DecodePCX(file);
                               if (!image) {
                                   return tessra::Error{image.message()};
                               }
                               picture = image.value().picture;
                               return std::move(image).value().picture;
                           });
    Lines lines(true);
    if (tessra::DecodePCX(file, lines).ok() && !lines.pixels().empty()) {
        lines.CheckComplete();
        if (lines.pixels().size() != static_cast<std::size_t>(picture.Width()) * picture.Height() ||
            std::memcmp(lines.pixels().data(), picture.Row(0),
                        lines.pixels().size() * sizeof(tessra::Pixel)) != 0) {
            std::abort(); // line by line must paint what the whole picture shows
        }
    }
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
