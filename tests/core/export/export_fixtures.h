#pragma once

// What the export tests share: settings from their texts, and an export's
// files as bytes.

#include "core/export/map_export.h"

#include <gtest/gtest.h>
#include <optional>

namespace tessra {

using Bytes = std::vector<std::uint8_t>;
using Settings = std::vector<std::pair<std::string, std::string>>;

inline ExportSettings Make(const Settings& texts) {
    ExportSettings settings;
    for (const auto& [name, text] : texts) {
        const Status set = SetExportSetting(settings, name, text);
        EXPECT_TRUE(set.ok()) << set.message();
    }
    return settings;
}

inline Bytes BytesOf(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

// The map, tiles and palettes as bytes, each output's files one after the
// other, and the bank the export leaves.
struct Outputs {
    Bytes map, tiles, palettes;
    std::size_t dataSize = 0; // the map's, packed
    std::optional<TileBank> bank;
};

// With art, the tiles go to tiles.bin and the palettes to palettes.bin.
inline Result<Outputs> Export(const MapGrid& map, const TileAttributeTable& attributes,
                              Settings texts, const ArtInputs* art = nullptr,
                              std::string_view output = "map.bin") {
    if (art) {
        texts.insert(texts.end(), {{"tiles", "tiles.bin"}, {"palettes", "palettes.bin"}});
    }
    const auto result = ExportMap(map, attributes, Make(texts), output, art);
    if (!result) {
        return Error{result.message()};
    }
    Outputs out;
    out.dataSize = result.value().DataSize;
    out.bank = result.value().Bank;
    for (const ExportFile& file : result.value().Files) {
        Bytes& into = file.Path == "tiles.bin"      ? out.tiles
                      : file.Path == "palettes.bin" ? out.palettes
                                                    : out.map;
        into.insert(into.end(), file.Bytes.begin(), file.Bytes.end());
    }
    return out;
}

} // namespace tessra
