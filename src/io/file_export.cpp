#include "io/file_export.h"

#include "io/file_group.h"
#include "io/file_io.h"

namespace tessra {

namespace {

std::span<const std::uint8_t> ByteSpan(const std::string& bytes) {
    return {reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()};
}

} // namespace

Result<ExportProfile> LoadExportProfile(const std::string& path) {
    const Result<Bytes> bytes =
        ReadFileBytes(path, ReadLimit{ExportProfileMaxSize, "an export profile"});
    if (!bytes) {
        return Error{bytes.message()};
    }
    return ParseExportProfile(
        std::string_view(reinterpret_cast<const char*>(bytes.value().data()), bytes.value().size()),
        path);
}

Status SaveExportProfile(const std::string& path, const ExportProfile& profile) {
    return WriteFileAtomic(path, ByteSpan(WriteExportProfileBytes(profile)), Durability::Document);
}

Result<MapExport> ExportMapFiles(const MapGrid& map, const TileAttributeTable& attributes,
                                 const ExportSettings& settings, const std::string& output,
                                 const std::vector<std::string>& sources) {
    Result<MapExport> result = ExportMap(map, attributes, settings, output);
    if (!result) {
        return result;
    }
    std::vector<FileContent> contents;
    for (const ExportFile& file : result.value().Files) {
        if (Status safe = CheckNotAnInput(file.Path, sources); !safe) {
            return Error{safe.message()};
        }
        contents.push_back({file.Path, ByteSpan(file.Bytes)});
    }
    if (Status written = WriteFilesAtomic(contents); !written) {
        return Error{written.message()};
    }
    return result;
}

} // namespace tessra
