#include "cli/cli_files.h"

#include "platform/file_io.h"

#include <QFile>

namespace tessra {

namespace {

// Command-line paths are in the system's file name encoding.
QString FilePath(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

} // namespace

Result<std::vector<std::uint8_t>> ReadInputFile(const std::string& path) {
    return ReadFileBytes(FilePath(path));
}

Result<ProjectData> ReadProjectFile(const std::string& path) {
    const Result<Bytes> bytes = ReadInputFile(path);
    if (!bytes) {
        return Error{bytes.message()};
    }
    const auto& data = bytes.value();
    return ParseProject(std::string_view(reinterpret_cast<const char*>(data.data()), data.size()),
                        path);
}

Result<TileAttributeTable> ReadAttributesFile(const std::string& path, MissingAttributes missing) {
    return LoadTileAttributes(FilePath(path), missing);
}

Status InputFile::Open(const std::string& path) {
    file_.setFileName(FilePath(path));
    if (file_.open(QIODevice::ReadOnly) && file_.size() > 0) {
        if (const uchar* mapped = file_.map(0, file_.size())) {
            bytes_ = {mapped, static_cast<std::size_t>(file_.size())};
            return {};
        }
    }
    Result<Bytes> read = ReadInputFile(path);
    if (!read) {
        return Error{read.message()};
    }
    copy_ = std::move(read.value());
    bytes_ = copy_;
    return {};
}

std::unique_ptr<AtomicFileWriter> OpenOutputFile(const std::string& path) {
    if (path == StandardOutputName) {
        return AtomicFileWriter::ToStandardOutput();
    }
    return std::make_unique<AtomicFileWriter>(FilePath(path));
}

Status WriteOutputFile(const std::string& path, std::span<const std::uint8_t> bytes) {
    const std::unique_ptr<AtomicFileWriter> file = OpenOutputFile(path);
    file->Write(bytes);
    return file->Commit();
}

Status WriteOutputFile(const std::string& path, std::string_view text) {
    return WriteOutputFile(
        path, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

} // namespace tessra
