#include "platform/file_export.h"

#include "platform/file_group.h"
#include "platform/file_io.h"

#include <QFile>
#include <filesystem>

namespace tessra {

namespace {

std::span<const std::uint8_t> ByteSpan(const std::string& bytes) {
    return {reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()};
}

bool SameFile(const std::string& a, const std::string& b) {
    std::error_code ignored;
    return std::filesystem::equivalent(a, b, ignored);
}

} // namespace

Result<ExportProfile> LoadExportProfile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return Error{
            ToStdString(QStringLiteral("Cannot read %1: %2").arg(path, file.errorString()))};
    }
    // One byte past the limit is enough for the parser to refuse a larger file.
    const QByteArray bytes = file.read(static_cast<qint64>(ExportProfileMaxSize) + 1);
    if (file.error() != QFileDevice::NoError) {
        return Error{
            ToStdString(QStringLiteral("Cannot read %1: %2").arg(path, file.errorString()))};
    }
    return ParseExportProfile(
        std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())),
        ToStdString(path));
}

Status SaveExportProfile(const QString& path, const ExportProfile& profile) {
    return WriteFileAtomic(path, ByteSpan(WriteExportProfileBytes(profile)));
}

Status CheckExportOutputs(const std::vector<ExportFile>& files,
                          const std::vector<std::string>& sources) {
    for (const ExportFile& file : files) {
        for (const std::string& source : sources) {
            if (SameFile(file.Path, source)) {
                return Error{"The export would replace " + file.Path +
                             ", which it reads; choose another output file."};
            }
        }
    }
    return {};
}

Status WriteExportFiles(const std::vector<ExportFile>& files) {
    std::vector<FileContent> contents;
    for (const ExportFile& file : files) {
        contents.push_back({file.Path, ByteSpan(file.Bytes)});
    }
    return WriteFilesAtomic(contents);
}

std::vector<std::string> FilesOfMap(const std::string& mapPath) {
    if (mapPath.empty()) {
        return {};
    }
    return {mapPath, TileAttributesPath(mapPath), ExportProfilePath(mapPath)};
}

Result<MapExport> ExportMapFiles(const MapGrid& map, const TileAttributeTable& attributes,
                                 const ExportSettings& settings, const std::string& output,
                                 const std::vector<std::string>& sources) {
    Result<MapExport> result = ExportMap(map, attributes, settings, output);
    if (!result) {
        return result;
    }
    if (Status safe = CheckExportOutputs(result.value().Files, sources); !safe) {
        return Error{safe.message()};
    }
    if (Status written = WriteExportFiles(result.value().Files); !written) {
        return Error{written.message()};
    }
    return result;
}

} // namespace tessra
