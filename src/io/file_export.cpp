#include "io/file_export.h"

#include "core/base/message_text.h"
#include "core/model/tileset_paths.h"
#include "io/file_group.h"
#include "io/file_io.h"

#include <cerrno>
#include <filesystem>
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

Result<std::optional<ExportProfile>> ReadMapProfile(const std::string& mapPath) {
    const std::string path = ExportProfilePath(mapPath);
    if (!FileExists(path)) {
        return std::optional<ExportProfile>();
    }
    Result<ExportProfile> profile = LoadExportProfile(path);
    if (!profile) {
        return profile;
    }
    const std::string map = WholePath(mapPath);
    ExportProfile& read = profile.value();
    if (!read.Output.empty()) {
        read.Output = WholePath(ResolveExportOutput(map, read.Output));
    }
    ResolveExportPaths(read.Settings, map);
    return std::optional(std::move(read));
}

ExportProfile ProfileBesideMap(const std::string& mapPath, ExportProfile profile) {
    profile.Output = RelativeExportOutput(mapPath, profile.Output);
    RelativeExportPaths(profile.Settings, mapPath);
    return profile;
}

Status SaveMapProfile(const std::string& mapPath, const ExportProfile& profile) {
    return WriteFileAtomic(ExportProfilePath(mapPath),
                           ByteSpan(WriteExportProfileBytes(ProfileBesideMap(mapPath, profile))),
                           Durability::Document);
}

std::vector<std::string> OutputsOutside(const ExportProfile& profile, const std::string& folder) {
    namespace fs = std::filesystem;
    std::error_code ignored;
    const fs::path inside = fs::weakly_canonical(WholePath(folder.empty() ? "." : folder), ignored);
    std::vector<std::string> outside;
    for (const std::string* output :
         {&profile.Output, &profile.Settings.Tiles, &profile.Settings.Palettes}) {
        if (output->empty()) {
            continue;
        }
        const fs::path path = fs::weakly_canonical(WholePath(*output), ignored);
        const fs::path relative = path.lexically_relative(inside);
        if (relative.empty() || *relative.begin() == "..") {
            outside.push_back(path.string());
        }
    }
    return outside;
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
                                 const std::vector<std::string>& sources, const Surface* picture) {
    const Result<ArtInputs> art = ReadArtInputs(settings, picture);
    if (!art) {
        return art;
    }
    Result<MapExport> result = ExportMap(map, attributes, settings, output, &art.value());
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
