#include "platform/file_tile_attributes.h"

#include "platform/file_io.h"

#include <QFile>

namespace tessra {

Result<TileAttributeTable> LoadTileAttributes(const QString& path, MissingAttributes missing) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (missing == MissingAttributes::AllZeros && !file.exists()) {
            return TileAttributeTable{};
        }
        return Error{
            ToStdString(QStringLiteral("Cannot read %1: %2").arg(path, file.errorString()))};
    }
    // One byte past the limit is enough for the parser to refuse a larger file.
    const QByteArray bytes = file.read(static_cast<qint64>(TileAttributesMaxSize) + 1);
    if (file.error() != QFileDevice::NoError) {
        return Error{
            ToStdString(QStringLiteral("Cannot read %1: %2").arg(path, file.errorString()))};
    }
    return ParseTileAttributes(
        std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())),
        ToStdString(path));
}

Status SaveTileAttributes(const QString& path, const TileAttributeTable& table) {
    const std::string bytes = WriteTileAttributesBytes(table);
    return WriteFileAtomic(
        path, std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
}

} // namespace tessra
