#include "core/export/map_export.h"

#include "core/export/export_layout.h"
#include "core/export/gba_compression.h"
#include "core/export/hardware_map.h"

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

Result<MapExport> ExportMap(const MapGrid& map, const TileAttributeTable& attributes,
                            const ExportSettings& settings, std::string_view outputPath) {
    if (Status checked = CheckExportSettings(settings); !checked) {
        return Error{checked.message()};
    }
    if (settings.Format == ExportFormat::C) {
        if (Status named = CheckCFormatPath(outputPath); !named) {
            return Error{named.message()};
        }
    }
    Result<EntryGrid> grid = MakeEntryGrid(map, attributes, settings);
    if (!grid) {
        return Error{grid.message()};
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
            ? std::vector<ExportArray>{{"", PackEntries(content.Entries.Values, settings.Entry)}}
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
    return result;
}

} // namespace tessra
