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

Status WriteOutputFile(const std::string& path, std::span<const std::uint8_t> bytes) {
    return WriteFileAtomic(FilePath(path), bytes);
}

Status WriteOutputFile(const std::string& path, std::string_view text) {
    return WriteOutputFile(
        path, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

} // namespace tessra
