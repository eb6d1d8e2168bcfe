#include "io/file_level.h"

#include "core/base/message_text.h"
#include "core/convert/level_picture.h"
#include "core/formats/image_encoders.h"
#include "core/model/tile_attributes.h"
#include "core/model/tileset_paths.h"
#include "io/file_document.h"
#include "io/file_io.h"

#include <filesystem>

namespace tessra {

namespace {

Result<Bytes> EncodeTileset(const std::string& path, const Surface& tileset) {
    Bytes png = EncodePng(tileset);
    if (png.empty()) {
        return Error{"Cannot write " + Shortened(path) + ": the picture could not be encoded"};
    }
    return png;
}

} // namespace

Result<Surface> LoadLevelPicture(const std::string& path) {
    // Mapped rather than copied: a level picture may be large.
    MappedFile file;
    if (Status opened = file.Open(path, PictureFileLimit); !opened) {
        return opened;
    }
    Result<Surface> picture = DecodeLevelPicture(file.bytes(), path);
    if (Status unchanged = file.CheckUnchanged(); !unchanged) {
        return unchanged;
    }
    return picture;
}

Status WriteTilesetPicture(const std::string& path, const Surface& tileset) {
    const Result<Bytes> png = EncodeTileset(path, tileset);
    if (!png) {
        return png;
    }
    return WriteFileAtomic(path, png.value(), Durability::Document);
}

Status WriteLevelMap(const std::string& mapPath, const Document& document,
                     const std::string& tilesetPath, const Surface& tileset,
                     const std::vector<std::string>& inputs) {
    for (const std::string& output : {mapPath, tilesetPath, TileAttributesPath(mapPath)}) {
        if (Status free = CheckNotAnInput(output, inputs); !free) {
            return free;
        }
    }
    if (WholePath(mapPath) == WholePath(tilesetPath) ||
        !CheckNotAnInput(tilesetPath, {&mapPath, 1})) {
        return Error{"Cannot write " + Shortened(tilesetPath) +
                     ": the map and its tileset picture must be two files"};
    }
    // As the map will list it.
    for (const std::string& listed :
         RebaseTilesetPaths(document.Tilesets, document.ProjectFolder, FolderOf(mapPath))) {
        if (Status path = CheckTilesetPath(listed); !path) {
            return Error{path.message() + " (" + Shortened(listed) + ")"};
        }
    }
    const Result<Bytes> png = EncodeTileset(tilesetPath, tileset);
    if (!png) {
        return png;
    }
    const FileContent picture{tilesetPath, png.value()};
    return WriteDocument(mapPath, document, nullptr, nullptr, {&picture, 1});
}

} // namespace tessra
