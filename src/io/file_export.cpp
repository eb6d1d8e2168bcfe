#include "io/file_export.h"

#include "core/base/message_text.h"
#include "io/file_group.h"
#include "io/file_io.h"

#include <cerrno>
#include <memory>

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

std::vector<std::string> FilesOfMap(const std::string& mapPath) {
    if (mapPath.empty()) {
        return {};
    }
    return {mapPath, TileAttributesPath(mapPath), ExportProfilePath(mapPath)};
}

Result<TileBank> LoadTileBank(const std::string& path) {
    int errorCode = 0;
    const Result<Bytes> bytes = ReadFileBytes(path, TileBankLimit, errorCode);
    if (!bytes) {
        return errorCode == ENOENT ? Result<TileBank>(TileBank{}) : Error{bytes.message()};
    }
    return ParseTileBank(Text(bytes.value()), path);
}

std::string TileBankText(const MapExport& result) {
    return result.Bank ? WriteTileBankText(*result.Bank) : std::string();
}

Result<ArtInputs> ReadArtInputs(const ExportSettings& settings, const Surface* picture) {
    ArtInputs inputs;
    inputs.Picture = picture;
    if (!settings.Bank.empty()) {
        Result<TileBank> bank = LoadTileBank(settings.Bank);
        if (!bank) {
            return Error{bank.message()};
        }
        inputs.Bank = std::make_shared<const TileBank>(std::move(bank).value());
        inputs.BankName = Shortened(settings.Bank);
    }
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
    for (const std::string* read : {&settings.PaletteFile, &settings.NesPalette, &settings.Bank}) {
        if (!read->empty()) {
            inputs.push_back(*read);
        }
    }
    // The bank goes first: an output made from it is then not older than it.
    std::vector<FileContent> contents;
    const std::string bank = TileBankText(result.value());
    if (result.value().Bank) {
        contents.push_back({settings.Bank, ByteSpan(bank), Durability::Document, true});
    }
    for (const ExportFile& file : result.value().Files) {
        if (Status safe = CheckNotAnInput(file.Path, inputs); !safe) {
            return Error{safe.message()};
        }
        contents.push_back({file.Path, ByteSpan(file.Bytes), Durability::Document, true});
    }
    if (Status written = WriteFilesAtomic(contents); !written) {
        return Error{written.message()};
    }
    return result;
}

} // namespace tessra
