#include "io/file_level.h"

#include "core/base/message_text.h"
#include "core/convert/level_picture.h"
#include "core/formats/image_encoders.h"
#include "core/formats/project_file.h"
#include "core/formats/tiled/tmx_import.h"
#include "core/model/tileset_paths.h"
#include "io/file_group.h"
#include "io/file_io.h"

#include <filesystem>

namespace tessra {

namespace {

std::string Absolute(const std::string& path) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    return error ? path : absolute.lexically_normal().string();
}

std::span<const std::uint8_t> ByteSpan(const std::string& text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

Status EncodeTileset(const std::string& path, const Surface& tileset, Bytes& png) {
    png = EncodePng(tileset);
    if (png.empty()) {
        return Error{"Cannot write " + Shortened(path) + ": the picture could not be encoded"};
    }
    return {};
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
    Bytes png;
    if (Status encoded = EncodeTileset(path, tileset, png); !encoded) {
        return encoded;
    }
    return WriteFileAtomic(path, png, Durability::Document);
}

Status WriteLevelMapFiles(const std::string& projectPath, const std::string& tilesetPath,
                          const Surface& tileset, const MapGrid& map,
                          const TileAttributeTable& attributes,
                          const std::vector<std::string>& inputs) {
    const std::string attributesPath = TileAttributesPath(projectPath);
    for (const std::string* output : {&projectPath, &tilesetPath, &attributesPath}) {
        if (Status free = CheckNotAnInput(*output, inputs); !free) {
            return free;
        }
    }
    if (Absolute(projectPath) == Absolute(tilesetPath) ||
        !CheckNotAnInput(tilesetPath, {&projectPath, 1})) {
        return Error{"Cannot write " + Shortened(tilesetPath) +
                     ": the project and its tileset picture must be two files"};
    }
    const std::string listed = TilesetPathForProject(Absolute(tilesetPath), Absolute(projectPath));
    if (Status path = CheckTilesetPath(listed); !path) {
        return Error{path.message() + " (" + Shortened(listed) + ")"};
    }
    Bytes png;
    if (Status encoded = EncodeTileset(tilesetPath, tileset, png); !encoded) {
        return encoded;
    }
    const std::string project = WriteProjectBytes({listed}, map);
    std::vector<FileContent> files{{projectPath, ByteSpan(project)}, {tilesetPath, png}};
    std::string attributesText;
    if (attributes != TileAttributeTable{} || FileExists(attributesPath)) {
        attributesText = WriteTileAttributesBytes(attributes);
        files.push_back({attributesPath, ByteSpan(attributesText)});
    }
    return WriteFilesAtomic(files);
}

} // namespace tessra
