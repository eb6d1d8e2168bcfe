#include "io/file_tileset.h"

#include "core/base/message_text.h"
#include "core/formats/png.h"
#include "core/formats/tileset_picture.h"
#include "core/render/palette_build.h"
#include "io/file_io.h"
#include "io/file_reading.h"

#include <cerrno>
#include <filesystem>
#include <new>

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
    try {
        return DecodeTilesetPicture(file.value(), name);
    } catch (const std::bad_alloc&) {
        return Error{name + ": there is not enough memory to decode it"};
    }
}

Result<Surface> BuildPalette(const std::vector<std::string>& tilesets, const std::string& folder,
                             const TileAttributeTable& attributes) {
    // As the editor loads a tileset: a kind of PCX it does not draw gives black tiles.
    const TilesetLoader load = [](const std::string& path) { return LoadTilesetPicture(path); };
    EditorState state;
    static_cast<Document&>(state) = {{}, tilesets, attributes, folder};
    Surface tiles, shown;
    const std::vector<TilesetFailure> failures =
        BuildShownPalette(state, tiles, shown, load, CountTilesetTiles).failures;
    if (failures.empty()) {
        return shown;
    }
    if (failures.size() == 1) {
        return Error{failures.front().message};
    }
    std::string message = std::to_string(failures.size()) + " tilesets failed to load:";
    for (std::size_t i = 0; i < std::min(failures.size(), FirstFewCount); ++i) {
        message += "\n  " + failures[i].message;
    }
    if (const std::string more = MoreThanFirstFew(failures.size()); !more.empty()) {
        message += "\n  " + more;
    }
    return Error{message};
}

std::optional<int> CountTilesetTiles(const std::string& path) {
    const Result<Bytes> head = ReadFileHead(path, TilesetHeadSize);
    if (!head) {
        return std::nullopt;
    }
    return TilesetTileCountOfHead(head.value());
}

Result<PictureFile> CheckPictureFile(const std::string& picturePath,
                                     const std::vector<std::string>& tilesets,
                                     const Surface& palette) {
    struct stat info {};
    if (::lstat(picturePath.c_str(), &info) != 0) {
        if (errno == ENOENT) {
            return PictureFile::Write;
        }
        return SystemFailure("write", picturePath, errno);
    }
    if (!S_ISREG(info.st_mode)) {
        return FileFailure("write", picturePath,
                           std::string("it is ") + KindOf(info.st_mode) +
                               ", which the palette picture does not replace");
    }
    for (const std::string& tileset : tilesets) {
        std::error_code error;
        if (std::filesystem::equivalent(tileset, picturePath, error)) {
            const Result<Surface> picture = LoadTilesetPicture(tileset);
            if (picture && picture.value() == palette) {
                return PictureFile::Keep;
            }
            return FileFailure("write", picturePath,
                               "it is a tileset of the map, which the palette picture would "
                               "replace");
        }
    }
    const Result<Bytes> head = ReadFileHead(picturePath, 8);
    if (!head) {
        return Error{head.message()};
    }
    if (!HasPngSignature(head.value())) {
        return FileFailure("write", picturePath,
                           "it is not a PNG picture, so it is no palette picture of an earlier "
                           "export and is not replaced");
    }
    return PictureFile::Write;
}

} // namespace tessra
