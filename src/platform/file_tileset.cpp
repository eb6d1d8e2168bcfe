#include "platform/file_tileset.h"

#include "core/message_text.h"
#include "core/tileset_picture.h"
#include "platform/file_io.h"

namespace tessra {

Result<Surface> LoadTilesetPicture(const std::string& path) {
    const Result<Bytes> file = ReadFileBytes(path, PictureFileLimit);
    if (!file) {
        return Error{file.message()};
    }
    return DecodeTilesetPicture(file.value(), Shortened(path));
}

} // namespace tessra
