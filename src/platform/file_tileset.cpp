#include "platform/file_tileset.h"

#include "core/message_text.h"
#include "core/tileset_picture.h"
#include "platform/file_io.h"

namespace tessra {

Result<Surface> LoadTilesetPicture(const std::string& path, std::vector<std::string>* notes) {
    const Result<Bytes> file = ReadFileBytes(path, PictureFileLimit);
    if (!file) {
        return Error{file.message()};
    }
    const std::string name = Shortened(path);
    if (notes) {
        if (std::optional<std::string> note = UndrawnPictureNote(file.value(), name)) {
            notes->push_back(std::move(*note));
        }
    }
    return DecodeTilesetPicture(file.value(), name);
}

} // namespace tessra
