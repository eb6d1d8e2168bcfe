#include "cli/cli_files.h"

namespace tessra {

Result<std::vector<std::uint8_t>> ReadInputFile(const std::string& path, const ReadLimit& limit) {
    if (path == StandardInputName) {
        return ReadStandardInput(limit);
    }
    return ReadFileBytes(path, limit);
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
