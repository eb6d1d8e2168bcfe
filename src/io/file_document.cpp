#include "io/file_document.h"

#include "core/base/message_text.h"
#include "core/model/tileset_paths.h"
#include "io/file_export.h"
#include "io/file_group.h"
#include "io/file_io.h"
#include "io/file_reading.h"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace tessra {

namespace {

std::string_view Text(const Bytes& bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

std::span<const std::uint8_t> ByteSpan(const std::string& text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

bool IsRegularFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// A file that must not stand any more; one already gone is no failure.
Status RemoveFile(const std::string& path) {
    if (::unlink(path.c_str()) != 0 && errno != ENOENT) {
        return SystemFailure("remove", path, errno);
    }
    return {};
}

// Copies a regular file to `to`, synced, as it is the user's work; where
// there is none, no copy of an older one may stay at `to` to be taken for it.
Status KeepCopy(const std::string& from, const std::string& to) {
    if (!IsRegularFile(from)) {
        return RemoveFile(to);
    }
    const Result<Bytes> old = ReadFileBytes(from, ProjectFileLimit);
    if (!old) {
        return old;
    }
    return WriteFileAtomic(to, old.value(), Durability::Document);
}

// Keeps the map's files as the previous version.
Status KeepPreviousDocument(const std::string& mapPath) {
    if (!IsRegularFile(mapPath)) {
        return {};
    }
    const std::string previous = mapPath + ".bak";
    if (Status kept = KeepCopy(mapPath, previous); !kept) {
        return kept;
    }
    return KeepCopy(TileAttributesPath(mapPath), TileAttributesPath(previous));
}

} // namespace

Result<TileAttributeTable> ReadTileAttributesFile(const std::string& path,
                                                  MissingAttributes missing) {
    int errorCode = 0;
    const Result<Bytes> bytes =
        ReadFileBytes(path, ReadLimit{TileAttributesMaxSize, "a tile attributes file"}, errorCode);
    if (!bytes) {
        if (missing == MissingAttributes::AllZeros && errorCode == ENOENT) {
            return TileAttributeTable{};
        }
        return Error{bytes.message()};
    }
    return ParseTileAttributes(Text(bytes.value()), Shortened(path));
}

std::vector<std::string> FilesOfMap(const std::string& mapPath, const Document& document) {
    std::vector<std::string> files = ResolveTilesetPaths(document.Tilesets, document.ProjectFolder);
    if (!mapPath.empty()) {
        files.insert(files.end(),
                     {mapPath, TileAttributesPath(mapPath), ExportProfilePath(mapPath)});
    }
    return files;
}

Status WriteFromMap(const std::string& path, std::span<const std::uint8_t> bytes,
                    const std::string& mapPath, const Document& document, int& errorCode) {
    errorCode = 0;
    if (Status safe = CheckNotAnInput(path, FilesOfMap(mapPath, document)); !safe) {
        return safe;
    }
    return WriteFileAtomic(path, bytes, Durability::Document, errorCode);
}

Result<ProjectData> ReadProjectFile(const std::string& path) {
    const bool standardInput = path == StandardStreamName;
    const Result<Bytes> bytes =
        standardInput ? ReadStandardInput(ProjectFileLimit) : ReadFileBytes(path, ProjectFileLimit);
    if (!bytes) {
        return bytes;
    }
    return ParseProject(Text(bytes.value()), standardInput ? "standard input" : path);
}

Result<Document> ReadDocument(const std::string& mapPath, AttributesFrom from,
                              const std::string& attributesPath) {
    Result<ProjectData> project = ReadProjectFile(mapPath);
    if (!project) {
        return project;
    }
    Document document{
        project.value().MapData, std::move(project.value().Tilesets), {}, FolderOf(mapPath)};
    if (from == AttributesFrom::Nowhere ||
        (from == AttributesFrom::Beside && mapPath == StandardStreamName)) {
        return document;
    }
    const bool beside = from == AttributesFrom::Beside;
    const Result<TileAttributeTable> attributes =
        ReadTileAttributesFile(beside ? TileAttributesPath(mapPath) : attributesPath,
                               beside ? MissingAttributes::AllZeros : MissingAttributes::Refused);
    if (!attributes) {
        return attributes;
    }
    document.Attributes = attributes.value();
    return document;
}

Status WriteDocument(const std::string& mapPath, const Document& document,
                     const ExportProfile* profile, Status* previous,
                     std::span<const FileContent> alongside) {
    const std::string folder = FolderOf(mapPath);
    const std::vector<std::string> listed =
        RebaseTilesetPaths(document.Tilesets, document.ProjectFolder, folder);
    const std::string project = WriteProjectBytes(listed, document.MapData);
    std::vector<FileContent> files{{mapPath, ByteSpan(project)}};
    const std::string attributesPath = TileAttributesPath(mapPath);
    const bool hasAttributes = document.Attributes != TileAttributeTable{};
    const std::string attributes =
        hasAttributes ? WriteTileAttributesBytes(document.Attributes) : "";
    if (hasAttributes) {
        files.push_back({attributesPath, ByteSpan(attributes)});
    }
    std::string settings;
    if (profile) {
        settings = WriteExportProfileBytes(ProfileBesideMap(mapPath, *profile));
        files.push_back({ExportProfilePath(mapPath), ByteSpan(settings)});
    }
    // Saved over one of its tilesets, the map would destroy its own picture.
    const std::vector<std::string> tilesets = ResolveTilesetPaths(listed, folder);
    for (const FileContent& file : files) {
        if (Status safe = CheckNotAnInput(file.path, tilesets); !safe) {
            return safe;
        }
    }
    if (previous) {
        *previous = KeepPreviousDocument(mapPath);
    }
    files.insert(files.end(), alongside.begin(), alongside.end());
    if (Status written = WriteFilesAtomic(files); !written) {
        return written;
    }
    if (!hasAttributes) {
        if (Status removed = RemoveFile(attributesPath); !removed) {
            return Error{removed.message() + " (" + mapPath + " was written; " +
                         "the attributes left there no longer match it.)"};
        }
    }
    return {};
}

} // namespace tessra
