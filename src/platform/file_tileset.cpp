#include "platform/file_tileset.h"

#include "platform/file_io.h"

namespace tessra {

namespace {

Error NamingFile(const QString& path, const std::string& message) {
    return Error{ToStdString(path) + ": " + message};
}

} // namespace

Result<PcxImage> LoadPCX(const QString& path) {
    PcxImage image;
    if (Status status = LoadPCX(path, image); !status) {
        return status;
    }
    return image;
}

Status LoadPCX(const QString& path, PcxImage& image) {
    const Result<Bytes> file = ReadFileBytes(path);
    if (!file) {
        return file;
    }
    if (Status status = DecodePCX(file.value(), image); !status) {
        return NamingFile(path, status.message());
    }
    return {};
}

} // namespace tessra
