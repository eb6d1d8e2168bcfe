#include "core/export/map_export.h"

#include "core/export/console_limits.h"
#include "core/export/export_layout.h"
#include "core/export/gba_compression.h"
#include "core/export/hardware_map.h"

#include <filesystem>

namespace tessra {

namespace {

std::vector<std::uint8_t> Compress(std::vector<std::uint8_t> bytes, ExportCompression compress) {
    switch (compress) {
    case ExportCompression::Rle:
        return CompressGbaRle(bytes);
    case ExportCompression::Lz77:
        return CompressGbaLz77(bytes);
    case ExportCompression::None:
        break;
    }
    return bytes;
}

std::string Source(const ExportSettings& settings) {
    return "Exported by TESSRA: " + DescribeExportSettings(settings);
}

std::string Comment(const ExportSettings& settings, std::size_t unpacked) {
    std::string comment = Source(settings);
    if (settings.Compress != ExportCompression::None) {
        comment += " (" + std::to_string(unpacked) + " bytes unpacked)";
    }
    return comment;
}

// One array of tile graphics or palettes in the export's format, without the
// map's width and height.
std::vector<ExportFile> ArtFile(const ExportSettings& settings, const std::string& name,
                                std::vector<std::uint8_t> bytes, const std::string& source,
                                const std::string& what, std::string_view path, std::size_t& size) {
    ExportContent content;
    content.Name = name;
    const std::size_t unpacked = bytes.size();
    content.Arrays = ArrayList(ExportArray{"", Compress(std::move(bytes), settings.Compress)});
    size = content.Arrays[0].Bytes.size();
    content.Comment = source;
    if (settings.Compress != ExportCompression::None) {
        content.Comment += " (" + std::to_string(unpacked) + " bytes unpacked)";
    }
    content.Comment += "; " + what;
    return WriteExportFormat(content, settings.Format, settings.Syntax, path);
}

// A bank's outputs say what made them without the map that wrote them last.
std::string BankComment(const ExportSettings& settings) {
    const std::string& path = settings.Bank;
    const std::size_t slash = path.find_last_of('/');
    return "Exported by TESSRA from the tile bank " +
           (slash == std::string::npos ? path : path.substr(slash + 1)) + ": hardware " +
           ExportSettingText(settings, "hardware") + ", bpp " +
           std::to_string(EffectiveBpp(settings)) + ", compress " +
           ExportSettingText(settings, "compress");
}

// Two outputs that are one file would leave one of them unwritten.
Status CheckDistinctFiles(const std::vector<ExportFile>& files) {
    for (std::size_t i = 0; i < files.size(); ++i) {
        for (std::size_t j = 0; j < i; ++j) {
            if (std::filesystem::path(files[i].Path).lexically_normal() ==
                std::filesystem::path(files[j].Path).lexically_normal()) {
                return Error{"The export would write " + files[i].Path +
                             " twice; give the map, the tiles and the palettes a file each."};
            }
        }
    }
    return {};
}

std::string Plural(std::size_t count, const char* one) {
    return std::to_string(count) + " " + one + (count == 1 ? "" : "s");
}

} // namespace

std::vector<ExportFile> ExportArtFiles(const ExportSettings& settings, const ConsoleTiles& tiles,
                                       const std::string& mapName, ArtSummary& summary) {
    summary = {static_cast<int>(tiles.Tiles.size()),    tiles.TileLimit,    0,
               static_cast<int>(tiles.Palettes.size()), tiles.PaletteLimit, 0};
    std::vector<std::uint8_t> tileBytes = ConsoleTileBytes(tiles, settings.Hardware);
    std::vector<std::uint8_t> paletteBytes =
        PaletteBytes(settings.Hardware, tiles.Bpp, tiles.Palettes);
    summary.TileBytes = tileBytes.size();
    summary.PaletteBytes = paletteBytes.size();
    const bool bank = !settings.Bank.empty();
    const std::string name = bank ? ExportNameFromPath(settings.Bank) : mapName;
    const std::string source = bank ? BankComment(settings) : Source(settings);
    const std::string depth = " at " + std::to_string(tiles.Bpp) + " bits a pixel";
    std::vector<ExportFile> files;
    if (!settings.Tiles.empty()) {
        files = ArtFile(settings, name + "_tiles", std::move(tileBytes), source,
                        Plural(tiles.Tiles.size(), "8 x 8 tile") + depth, settings.Tiles,
                        summary.TileBytes);
    }
    if (!settings.Palettes.empty()) {
        for (ExportFile& file :
             ArtFile(settings, name + "_palettes", std::move(paletteBytes), source,
                     Plural(tiles.Palettes.size(), "sub-palette") + depth, settings.Palettes,
                     summary.PaletteBytes)) {
            files.push_back(std::move(file));
        }
    }
    return files;
}

ConsoleTiles BankTiles(const TileBank& bank) {
    ConsoleTiles tiles;
    tiles.Bpp = bank.Bpp;
    tiles.Tiles = bank.Tiles;
    tiles.Palettes = bank.Palettes;
    if (bank.Hardware != ExportHardware::None) {
        const ConsoleLimits& limits = ConsoleLimitsOf(bank.Hardware);
        tiles.TileLimit = limits.tileLimit;
        tiles.PaletteLimit = SubPaletteCount(limits, bank.Bpp);
        tiles.Room = SubPaletteRoom(bank.Bpp);
    }
    return tiles;
}

Result<MapExport> ExportMap(const MapGrid& map, const TileAttributeTable& attributes,
                            const ExportSettings& settings, std::string_view outputPath,
                            const ArtInputs* art, const ConsoleTiles* made) {
    if (Status checked = CheckExportSettings(settings); !checked) {
        return Error{checked.message()};
    }
    if (settings.Format == ExportFormat::C) {
        if (Status named = CheckCFormatPath(outputPath); !named) {
            return Error{named.message()};
        }
    }
    // Unique numbering's entries wait for the stored tiles; the cells are checked first.
    const bool unique = settings.Hardware != ExportHardware::None &&
                        EffectiveNumbering(settings) == ExportNumbering::Unique;
    Result<EntryGrid> grid =
        unique ? Result<EntryGrid>(EntryGrid{}) : MakeEntryGrid(map, attributes, settings);
    if (Status cells = unique ? CheckHardwareCells(map, attributes, settings) : Status{};
        !cells || !grid) {
        return Error{cells ? grid.message() : cells.message()};
    }
    std::optional<ConsoleTiles> tiles;
    if (NeedsTilePictures(settings)) {
        if (made == nullptr && (art == nullptr || art->Picture == nullptr)) {
            return Error{"The tiles, the palettes and numbering unique need the tilesets' "
                         "pictures."};
        }
        tiles = made ? *made : MakeConsoleTiles(map, attributes, settings, *art);
        if (!tiles->Problems.empty()) {
            return Error{tiles->Problems.front().Message};
        }
        if (unique) {
            grid = MakeHardwareGrid(map, attributes, settings, &tiles->Unique);
        }
    }
    ExportContent content;
    content.Name = EffectiveExportName(settings, outputPath);
    content.Width = grid.value().Width;
    content.Height = grid.value().Height;
    content.Entries =
        OrderEntries(std::move(grid).value(), EffectiveScreen(settings), settings.Order);

    // A layout that splits its data (tile numbers and their attributes) has
    // an array for each, named with a suffix; each is compressed alone, so
    // that each can be unpacked where it goes.
    std::vector<ExportArray> arrays =
        settings.Hardware == ExportHardware::None
            ? ArrayList(ExportArray{"", PackEntries(content.Entries.Values, settings.Entry)})
            : PackHardwareEntries(content.Entries, settings);
    std::size_t unpacked = 0;
    for (ExportArray& array : arrays) {
        unpacked += array.Bytes.size();
        array.Bytes = Compress(std::move(array.Bytes), settings.Compress);
    }
    content.Comment = Comment(settings, unpacked);
    content.Arrays = std::move(arrays);

    MapExport result;
    for (const ExportArray& array : content.Arrays) {
        result.DataSize += array.Bytes.size();
    }
    result.Files = WriteExportFormat(content, settings.Format, settings.Syntax, outputPath);
    if (!tiles) {
        return result;
    }
    ArtSummary summary;
    for (ExportFile& file : ExportArtFiles(settings, *tiles, content.Name, summary)) {
        result.Files.push_back(std::move(file));
    }
    if (Status distinct = CheckDistinctFiles(result.Files); !distinct) {
        return Error{distinct.message()};
    }
    result.Art = summary;
    if (!settings.Bank.empty()) {
        result.Bank = GrownBank(*tiles, settings.Hardware);
    }
    return result;
}

namespace {

std::string Count(std::size_t count, const char* one, const char* many) {
    return std::to_string(count) + (count == 1 ? one : many);
}

} // namespace

std::string DescribeWrittenExport(const MapExport& result, const ExportSettings& settings) {
    // C writes each array as a source and a header: two files a part.
    const std::size_t each = settings.Format == ExportFormat::C ? 2 : 1;
    std::size_t next = 0;
    const auto files = [&] {
        std::string list;
        for (std::size_t i = next; i < next + each && i < result.Files.size(); ++i) {
            list += (i == next ? "" : " and ") + result.Files[i].Path;
        }
        next += each;
        return list;
    };
    std::string text = "Exported " + Count(result.DataSize, " byte", " bytes") + " to " + files();
    if (result.Art && !settings.Tiles.empty()) {
        text += "; " + Count(static_cast<std::size_t>(result.Art->Tiles), " tile", " tiles") +
                ", " + Count(result.Art->TileBytes, " byte", " bytes") + ", to " + files();
    }
    if (result.Art && !settings.Palettes.empty()) {
        text += "; " +
                Count(static_cast<std::size_t>(result.Art->Palettes), " palette", " palettes") +
                ", " + Count(result.Art->PaletteBytes, " byte", " bytes") + ", to " + files();
    }
    return text + ".";
}

} // namespace tessra
