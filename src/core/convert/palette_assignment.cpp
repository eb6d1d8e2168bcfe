#include "core/convert/palette_assignment.h"

#include "core/convert/palette_packing.h"
#include "core/export/console_limits.h"
#include "core/model/tile_usage.h"

#include <algorithm>

namespace tessra {

std::vector<ConsoleDepthChoice> ConsoleDepthChoices() {
    std::vector<ConsoleDepthChoice> choices;
    for (const ExportHardware hardware :
         {ExportHardware::Nes, ExportHardware::Gb, ExportHardware::Gbc, ExportHardware::Snes,
          ExportHardware::Gba, ExportHardware::Md}) {
        const ConsoleLimits& console = ConsoleLimitsOf(hardware);
        std::vector<int> depths(ConsoleDepths(console).begin(), ConsoleDepths(console).end());
        std::sort(depths.begin(), depths.end());
        for (const int bpp : depths) {
            const int count = SubPaletteCount(console, bpp);
            choices.push_back({hardware, bpp,
                               std::string(console.name) + ", " + std::to_string(bpp) +
                                   " bits a pixel: " + std::to_string(count) +
                                   (count == 1 ? " palette of " : " sub-palettes of ") +
                                   std::to_string(SubPaletteRoom(bpp)) + " colours"});
        }
    }
    return choices;
}

Result<PaletteAssignment> AssignPalettes(const MapGrid& map, const TileAttributeTable& attributes,
                                         const ExportSettings& settings, const Surface& picture) {
    ArtInputs inputs;
    inputs.Picture = &picture;
    const ConsoleLimits& console = ConsoleLimitsOf(settings.Hardware);
    const int bpp = EffectiveBpp(settings);
    const ColourDepth depth(settings.Hardware, inputs.NesPalette);
    // The Game Boy's shades number the colours themselves: no entry is kept for a backdrop.
    const bool backdrop = settings.Hardware != ExportHardware::Gb;
    const ConsoleColour backdropColour = BackdropColour(settings, inputs, depth);
    const std::array<int, TileCount> cells = CountTileUsage(map);
    std::vector<TileColours> tiles;
    for (int tile = 0; tile < TileCount; ++tile) {
        if (cells[static_cast<std::size_t>(tile)] == 0) {
            continue;
        }
        TileColours colours{tile, {}};
        for (int quarter = 0; quarter < 4; ++quarter) {
            const std::vector<ConsoleColour> some =
                QuarterColours(*inputs.Picture, tile, quarter, depth);
            colours.colours.insert(colours.colours.end(), some.begin(), some.end());
        }
        if (backdrop) {
            std::erase(colours.colours, backdropColour);
        }
        tiles.push_back(std::move(colours));
    }
    const Result<PalettePacking> packed =
        PackPalettes(tiles, {SubPaletteCount(console, bpp), SubPaletteRoom(bpp), backdrop});
    if (!packed) {
        return packed;
    }
    PaletteAssignment assignment;
    assignment.attributes = attributes;
    assignment.palettes = packed.value().palettes;
    assignment.limit = SubPaletteCount(console, bpp);
    assignment.fewest = packed.value().fewest;
    if (backdrop) {
        assignment.backdrop = backdropColour;
    }
    assignment.tiles.assign(static_cast<std::size_t>(assignment.palettes), 0);
    assignment.colours.resize(static_cast<std::size_t>(assignment.palettes));
    for (std::size_t i = 0; i < tiles.size(); ++i) {
        const int p = packed.value().palette[i];
        assignment.attributes[tiles[i].tile].Palette = static_cast<std::uint8_t>(p);
        ++assignment.tiles[static_cast<std::size_t>(p)];
        std::vector<ConsoleColour>& colours = assignment.colours[static_cast<std::size_t>(p)];
        colours.insert(colours.end(), tiles[i].colours.begin(), tiles[i].colours.end());
    }
    for (std::vector<ConsoleColour>& colours : assignment.colours) {
        std::sort(colours.begin(), colours.end());
        colours.erase(std::unique(colours.begin(), colours.end()), colours.end());
    }
    return assignment;
}

std::string DescribePaletteAssignment(const PaletteAssignment& assignment) {
    int tiles = 0;
    for (const int count : assignment.tiles) {
        tiles += count;
    }
    return std::to_string(tiles) + (tiles == 1 ? " tile in " : " tiles in ") +
           std::to_string(assignment.palettes) + " of " + std::to_string(assignment.limit) +
           (assignment.limit == 1 ? " palette" : " sub-palettes") +
           (assignment.fewest ? ", the fewest there can be." : ", the fewest found.");
}

} // namespace tessra
