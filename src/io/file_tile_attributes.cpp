#include "io/file_tile_attributes.h"

#include "core/base/message_text.h"
#include "io/file_io.h"

#include <cerrno>

namespace tessra {

Result<TileAttributeTable> LoadTileAttributes(const std::string& path, MissingAttributes missing) {
    int errorCode = 0;
    const Result<Bytes> bytes =
        ReadFileBytes(path, ReadLimit{TileAttributesMaxSize, "a tile attributes file"}, errorCode);
    if (!bytes) {
        if (missing == MissingAttributes::AllZeros && errorCode == ENOENT) {
            return TileAttributeTable{};
        }
        return Error{bytes.message()};
    }
    return ParseTileAttributes(
        std::string_view(reinterpret_cast<const char*>(bytes.value().data()), bytes.value().size()),
        Shortened(path));
}

Status SaveTileAttributes(const std::string& path, const TileAttributeTable& table) {
    const std::string bytes = WriteTileAttributesBytes(table);
    return WriteFileAtomic(
        path, std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()),
        Durability::Document);
}

} // namespace tessra
