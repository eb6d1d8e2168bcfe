#include "cli/cli_files.h"

namespace tessra {

Result<std::vector<std::uint8_t>> ReadInputFile(const std::string& path, const ReadLimit& limit) {
    if (path == StandardInputName) {
        return ReadStandardInput(limit);
    }
    return ReadFileBytes(path, limit);
}

Result<ProjectData> ReadProjectFile(const std::string& path) {
    const Result<Bytes> bytes = ReadInputFile(path, ProjectFileLimit);
    if (!bytes) {
        return bytes;
    }
    const auto& data = bytes.value();
    const std::string_view name =
        path == StandardInputName ? std::string_view("standard input") : std::string_view(path);
    return ParseProject(std::string_view(reinterpret_cast<const char*>(data.data()), data.size()),
                        name);
}

Result<TileAttributeTable> ReadAttributesFile(const std::string& path, MissingAttributes missing) {
    return LoadTileAttributes(path, missing);
}

Status InputFile::Open(const std::string& path) {
    if (path != StandardInputName) {
        if (Status opened = file_.Open(path, PictureFileLimit); !opened) {
            return opened;
        }
        bytes_ = file_.bytes();
        return {};
    }
    Result<Bytes> read = ReadStandardInput(PictureFileLimit);
    if (!read) {
        return read;
    }
    copy_ = std::move(read.value());
    bytes_ = copy_;
    return {};
}

std::unique_ptr<AtomicFileWriter> OpenOutputFile(const std::string& path, Durability durability) {
    if (path == StandardOutputName) {
        return AtomicFileWriter::ToStandardOutput();
    }
    return std::make_unique<AtomicFileWriter>(path, durability);
}

Status WriteOutputFile(const std::string& path, std::span<const std::uint8_t> bytes,
                       Durability durability) {
    const std::unique_ptr<AtomicFileWriter> file = OpenOutputFile(path, durability);
    file->Write(bytes);
    return file->Commit();
}

Status WriteOutputFile(const std::string& path, std::string_view text, Durability durability) {
    return WriteOutputFile(
        path, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()),
        durability);
}

} // namespace tessra
