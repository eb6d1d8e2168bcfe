// Decodes any bytes as a tileset, holds the picture to the plain decoding and
// cuts it into the palette; a picture that differs from the plain one stops the
// run like a crash. Decodes once more as the lines of a PPM file are written:
// red, green, blue bytes where the kind paints them so, in a line with no more
// room than the sink promises.
#include "core/editor_state.h"
#include "core/palette.h"
#include "core/pcx.h"
#include "support/pcx_reference.h"
#include "support/picture_files.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <vector>

namespace {

class RgbLines final : public tessra::PcxLineSink {
  public:
    void Start(int width, int, tessra::PcxKind) override {
        pixels_.resize(static_cast<std::size_t>(width));
        bytes_.resize(3 * static_cast<std::size_t>(width) + RgbSlack);
    }
    tessra::Pixel* Row(int) override { return pixels_.data(); }
    std::uint8_t* RgbRow(int) override { return bytes_.data(); }
    void Painted(int) override {}

  private:
    std::vector<tessra::Pixel> pixels_;
    std::vector<std::uint8_t> bytes_;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> file(data, size);
    // Huge pictures decode by the same loops as small ones, only slower.
    if (const auto header = tessra::ReadPcxHeader(file)) {
        if ((header->XMax + 1L) * (header->YMax + 1L) > (1L << 20)) {
            return 0;
        }
    }
    RgbLines lines;
    (void)tessra::DecodePCX(file, lines);
    tessra::Result<tessra::PcxImage> image = tessra::DecodePCX(file);
    if (!image) {
        return 0;
    }
    // A stride far beyond the width makes the plain buffer too large to hold.
    if (tessra::PlainDecodeBytes(file) <= (std::size_t{1} << 26)) {
        const std::string difference =
            tessra::Difference(image.value().picture, tessra::PlainDecodePCX(file));
        if (!difference.empty()) {
            std::fprintf(stderr, "differs from the plain decoding: %s\n", difference.c_str());
            std::abort();
        }
    }
    tessra::EditorState state;
    state.Tilesets = {"a.pcx", "b.pcx"};
    tessra::Surface palette;
    const auto load = [&](const std::string&) -> tessra::Result<tessra::Surface> {
        return image.value().picture;
    };
    tessra::ReloadTilesets(state, palette, load);
    return 0;
}
