#include "platform/file_tileset.h"

#include "core/message_text.h"
#include "platform/file_io.h"

namespace tessra {

Result<PcxImage> LoadPCX(const std::string& path) {
    PcxImage image;
    if (Status status = LoadPCX(path, image); !status) {
        return Error{status.message()};
    }
    return image;
}

Status LoadPCX(const std::string& path, PcxImage& image) {
    const Result<Bytes> file = ReadFileBytes(path, PictureFileLimit);
    if (!file) {
        return Error{file.message()};
    }
    if (Status status = DecodePCX(file.value(), image); !status) {
        return Error{Shortened(path) + ": " + status.message()};
    }
    return {};
}

} // namespace tessra
