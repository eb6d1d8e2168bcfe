#include "platform/file_tileset.h"

#include "core/tileset_picture.h"
#include "platform/file_io.h"

namespace tessra {

Result<Surface> LoadTilesetPicture(const QString& path) {
    const Result<Bytes> file = ReadFileBytes(path);
    if (!file) {
        return Error{file.message()};
    }
    return DecodeTilesetPicture(file.value(), ToStdString(path));
}

} // namespace tessra
