#include "io/file_export.h"

#include "io/file_group.h"
#include "io/file_io.h"

namespace tessra {

namespace {

std::span<const std::uint8_t> ByteSpan(const std::string& bytes) {
    return {reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()};
}

std::string_view Text(const Bytes& bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
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

Result<ArtInputs> ReadArtInputs(const ExportSettings& settings, const Surface* picture) {
    ArtInputs inputs;
    inputs.Picture = picture;
    if (!settings.PaletteFile.empty()) {
        const Result<Bytes> bytes = ReadFileBytes(settings.PaletteFile, PaletteFileLimit);
        if (!bytes) {
            return Error{bytes.message()};
        }
        Result<std::vector<Pixel>> colours =
            ParseGimpPalette(Text(bytes.value()), settings.PaletteFile);
        if (!colours) {
            return Error{colours.message()};
        }
        inputs.PaletteFile = std::move(colours).value();
    }
    if (!settings.NesPalette.empty()) {
        const Result<Bytes> bytes = ReadFileBytes(settings.NesPalette, PaletteFileLimit);
        if (!bytes) {
            return Error{bytes.message()};
        }
        const Result<NesMasterPalette> nes =
            ParseNesPalette(Text(bytes.value()), settings.NesPalette);
        if (!nes) {
            return Error{nes.message()};
        }
        inputs.NesPalette = nes.value();
    }
    return inputs;
}

Result<MapExport> ExportMapFiles(const MapGrid& map, const TileAttributeTable& attributes,
                                 const ExportSettings& settings, const std::string& output,
                                 const std::vector<std::string>& sources, const ArtInputs* art) {
    Result<MapExport> result = ExportMap(map, attributes, settings, output, art);
    if (!result) {
        return result;
    }
    std::vector<std::string> inputs = sources;
    for (const std::string* read : {&settings.PaletteFile, &settings.NesPalette}) {
        if (!read->empty()) {
            inputs.push_back(*read);
        }
    }
    std::vector<FileContent> contents;
    for (const ExportFile& file : result.value().Files) {
        if (Status safe = CheckNotAnInput(file.Path, inputs); !safe) {
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
