#include "io/file_tiled.h"

#include "core/base/message_text.h"
#include "core/formats/image_encoders.h"
#include "core/formats/tiled/tmx_writer.h"
#include "io/file_group.h"
#include "io/file_io.h"
#include "io/file_tileset.h"

#include <filesystem>
#include <optional>

namespace tessra {

Status WriteTiledMapFiles(const MapGrid& map, const Surface& palette,
                          const std::vector<std::string>& tilesets, const std::string& outPath,
                          const std::string& name) {
    const std::optional<TiledFormat> format = TiledFormatOf(outPath);
    if (!format) {
        return Error{"Cannot write " + Shortened(outPath) + ": the name must end in .tmx or .tmj"};
    }
    const std::string picturePath = TiledPalettePath(outPath);
    const Result<PictureFile> pictureFile = CheckPictureFile(picturePath, tilesets, palette);
    if (!pictureFile) {
        return Error{pictureFile.message()};
    }
    const std::string image = std::filesystem::path(picturePath).filename().string();
    const std::string document = WriteTiledMap(map, *format, name, image);
    std::vector<FileContent> files{
        {outPath, {reinterpret_cast<const std::uint8_t*>(document.data()), document.size()}}};
    Bytes picture;
    if (pictureFile.value() == PictureFile::Write) {
        picture = EncodePng(palette);
        if (picture.empty()) {
            return Error{"Cannot write " + Shortened(picturePath) +
                         ": the palette picture could not be encoded"};
        }
        files.push_back({picturePath, picture, Durability::Derived});
    }
    return WriteFilesAtomic(files);
}

} // namespace tessra
