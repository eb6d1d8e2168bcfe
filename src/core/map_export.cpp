#include "core/map_export.h"

#include "core/export_layout.h"
#include "core/gba_compression.h"

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

std::string Comment(const ExportSettings& settings, std::size_t unpacked) {
    std::string comment = "Exported by TESSRA: " + DescribeExportSettings(settings);
    if (settings.Compress != ExportCompression::None) {
        comment += " (" + std::to_string(unpacked) + " bytes unpacked)";
    }
    return comment;
}

} // namespace

Result<MapExport> ExportMap(const MapGrid& map, const ExportSettings& settings,
                            std::string_view outputPath) {
    if (Status checked = CheckExportSettings(settings); !checked) {
        return Error{checked.message()};
    }
    Result<EntryGrid> grid = MakeEntryGrid(map, settings);
    if (!grid) {
        return Error{grid.message()};
    }
    ExportContent content;
    content.Name = EffectiveExportName(settings, outputPath);
    content.Width = grid.value().Width;
    content.Height = grid.value().Height;
    content.Entries = OrderEntries(grid.value(), EffectiveScreen(settings), settings.Order);

    // One array of bytes here; a layout that splits its data (tile numbers and
    // their attributes, say) adds arrays with a suffix each, and the formats
    // write every array under its own symbol.
    std::vector<std::uint8_t> bytes = PackEntries(content.Entries.Values, settings.Entry);
    content.Comment = Comment(settings, bytes.size());
    content.Arrays.push_back({"", Compress(std::move(bytes), settings.Compress)});

    MapExport result;
    for (const ExportArray& array : content.Arrays) {
        result.DataSize += array.Bytes.size();
    }
    result.Files = WriteExportFormat(content, settings.Format, settings.Syntax, outputPath);
    return result;
}

} // namespace tessra
