#include "cli/image_output.h"

#include "cli/cli_files.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>
#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <memory>

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace tessra {

namespace {

bool EndsWithNoCase(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() &&
           std::equal(suffix.begin(), suffix.end(), text.end() - suffix.size(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(b)) == a;
           });
}

// Four pixels (r, g, b, 0xFF in memory) become twelve bytes of red, green, blue.
void PackRgb(const Pixel* in, std::size_t count, std::uint8_t* out) {
    std::size_t i = 0;
    for (; i + 4 <= count; i += 4, out += 12) {
        const std::uint32_t words[3] = {
            (in[i] & 0xFFFFFFu) | in[i + 1] << 24,
            (in[i + 1] >> 8 & 0xFFFFu) | in[i + 2] << 16,
            (in[i + 2] >> 16 & 0xFFu) | in[i + 3] << 8,
        };
        std::memcpy(out, words, sizeof words);
    }
    for (; i < count; ++i, out += 3) {
        out[0] = static_cast<std::uint8_t>(in[i]);
        out[1] = static_cast<std::uint8_t>(in[i] >> 8);
        out[2] = static_cast<std::uint8_t>(in[i] >> 16);
    }
}

// A buffer that is written whole before it is read, so it is not cleared.
// Large ones ask Linux for huge pages: touching 48 MB of fresh 4 KB pages
// costs several times more than filling them.
class OutputBuffer {
  public:
    explicit OutputBuffer(std::size_t size) : size_(size) {
#ifdef __linux__
        constexpr std::size_t hugePage = std::size_t{2} << 20;
        if (size >= hugePage) {
            const std::size_t rounded = (size + hugePage - 1) / hugePage * hugePage;
            bytes_.reset(static_cast<std::uint8_t*>(std::aligned_alloc(hugePage, rounded)));
            if (bytes_) {
                ::madvise(bytes_.get(), rounded, MADV_HUGEPAGE);
                return;
            }
        }
#endif
        bytes_.reset(static_cast<std::uint8_t*>(std::malloc(size)));
    }

    std::uint8_t* data() {
        return bytes_.get();
    }
    std::span<const std::uint8_t> bytes() const {
        return {bytes_.get(), size_};
    }

  private:
    struct Free {
        void operator()(std::uint8_t* bytes) const { std::free(bytes); }
    };
    std::unique_ptr<std::uint8_t[], Free> bytes_;
    std::size_t size_;
};

// Header and pixels go into one buffer, written in one go.
Status WritePpm(const std::string& path, const Surface& picture) {
    const std::string header = "P6\n" + std::to_string(picture.Width()) + ' ' +
                               std::to_string(picture.Height()) + "\n255\n";
    const std::size_t count = static_cast<std::size_t>(picture.Width()) * picture.Height();
    OutputBuffer buffer(header.size() + 3 * count);
    if (!buffer.data()) {
        return Error{"Cannot write " + path + ": out of memory"};
    }
    std::memcpy(buffer.data(), header.data(), header.size());
    PackRgb(picture.data(), count, buffer.data() + header.size());
    return WriteOutputFile(path, buffer.bytes());
}

// PNG and BMP come from Qt's writers, which need no QGuiApplication. The
// QImage wraps the surface's pixels without copying them.
Status WriteWithQt(const std::string& path, const Surface& picture, const char* format) {
    const QImage image(reinterpret_cast<const uchar*>(picture.data()), picture.Width(),
                       picture.Height(), static_cast<qsizetype>(picture.Width()) * sizeof(Pixel),
                       QImage::Format_RGBX8888);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (!writer.write(image)) {
        return Error{"Cannot encode " + path + ": " + writer.errorString().toStdString()};
    }
    return WriteOutputFile(path, std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                           static_cast<std::size_t>(bytes.size())));
}

} // namespace

std::optional<ImageFormat> ImageFormatOf(std::string_view path) {
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
        return WriteWithQt(path, picture, "png");
    case ImageFormat::Bmp:
        return WriteWithQt(path, picture, "bmp");
    case ImageFormat::Ppm:
        break;
    }
    return WritePpm(path, picture);
}

} // namespace tessra
