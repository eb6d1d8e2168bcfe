#include "core/convert/palette_assignment.h"
#include "core/export/console_limits.h"
#include "core/render/palette_layout.h"
#include "support/refusal.h"

#include <gtest/gtest.h>
#include <random>

using namespace tessra;

namespace {

// The i-th of colours that stay apart at the console's depth.
Pixel ConsoleExact(ExportHardware hardware, int i) {
    if (hardware == ExportHardware::Nes) {
        constexpr int Hues[] = {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08,
                                0x09, 0x0A, 0x0B, 0x0C, 0x11, 0x12, 0x13, 0x14};
        return BuiltInNesPalette()[static_cast<std::size_t>(Hues[i])];
    }
    if (hardware == ExportHardware::Gb) {
        return Rgb(60 * i, 60 * i, 60 * i);
    }
    const int bits = ConsoleLimitsOf(hardware).channelBits;
    const int levels = 1 << bits, step = 256 >> bits;
    return Rgb(i % levels * step, i / levels % levels * step, i / levels / levels * step);
}

// Tiles 1 to 40, each of colours from one of `count` sub-palettes of `room`
// colours in turn, colour 0 (the backdrop) among them; tile 0 all backdrop.
Surface ColourfulTiles(ExportHardware hardware, int count, int room) {
    std::mt19937 random(25);
    Surface picture(PaletteWidth, PaletteHeight);
    for (int tile = 0; tile <= 40; ++tile) {
        const int first = 1 + tile % count * (room - 1);
        for (int i = 0; i < TileSize * TileSize; ++i) {
            const int pick =
                tile == 0 ? 0 : static_cast<int>(random() % static_cast<unsigned>(room));
            picture.Set(TileLeft(tile) + i % TileSize, TileTop(tile) + i / TileSize,
                        ConsoleExact(hardware, pick == 0 ? 0 : first + pick - 1));
        }
    }
    return picture;
}

} // namespace

// On every console and depth the tiles get sub-palettes that hold their
// colours, and the export of tiles and palettes then refuses nothing; the
// other attributes, and the tiles the map does not use, stay as they were.
TEST(PaletteAssignment, TheExportTakesTheAssignmentOnEveryConsole) {
    for (const ConsoleDepthChoice& choice : ConsoleDepthChoices()) {
        SCOPED_TRACE(choice.label);
        const ConsoleLimits& console = ConsoleLimitsOf(choice.hardware);
        const bool gb = choice.hardware == ExportHardware::Gb;
        const int count = SubPaletteCount(console, choice.bpp);
        const Surface tiles = ColourfulTiles(choice.hardware, count, SubPaletteRoom(choice.bpp));
        MapGrid map;
        std::mt19937 random(26);
        for (int i = 0; i < CellCount; ++i) {
            map.data()[i] = static_cast<std::uint8_t>(random() % 41);
        }
        TileAttributeTable attributes;
        attributes[3].Behaviour = 9;
        attributes[200].Palette = 2;
        ExportSettings settings;
        settings.Hardware = choice.hardware;
        settings.Bpp = choice.bpp;
        settings.Numbering = ExportNumbering::Unique;
        const Result<PaletteAssignment> assigned = AssignPalettes(map, attributes, settings, tiles);
        ASSERT_TRUE(assigned.ok()) << assigned.message();
        const PaletteAssignment& result = assigned.value();
        EXPECT_LE(result.palettes, count);
        EXPECT_EQ(result.attributes[3].Behaviour, 9);
        EXPECT_EQ(result.attributes[200].Palette, 2);
        ArtInputs inputs;
        inputs.Picture = &tiles;
        const ConsoleTiles exported = MakeConsoleTiles(map, result.attributes, settings, inputs);
        for (const ArtProblem& problem : exported.Problems) {
            ADD_FAILURE() << problem.Message;
        }
        const ColourDepth depth(choice.hardware);
        const ConsoleColour backdrop = depth.Reduce(ConsoleExact(choice.hardware, 0));
        for (int tile = 1; tile <= 40; ++tile) {
            const std::vector<ConsoleColour>& held =
                result.colours[static_cast<std::size_t>(result.attributes[tile].Palette)];
            for (int quarter = 0; quarter < 4; ++quarter) {
                for (const ConsoleColour colour : QuarterColours(tiles, tile, quarter, depth)) {
                    const bool shared = !gb && colour == backdrop;
                    EXPECT_TRUE(shared || std::count(held.begin(), held.end(), colour) == 1)
                        << "tile " << tile;
                }
            }
        }
    }
}

// A tile too colourful for a sub-palette, and colours that need more
// sub-palettes than the console has, are refused, naming the tile and counts.
TEST(PaletteAssignment, RefusesWhatNoSubPaletteHolds) {
    Surface tiles(PaletteWidth, PaletteHeight);
    for (int i = 0; i < TileSize * TileSize; ++i) {
        // Tile 1 of 4 NES colours and the black backdrop; tiles 2 and 3 of 3
        // greys each, 5 in all, black among them; tile 4 of 4 greys, no black.
        tiles.Set(TileLeft(1) + i % TileSize, i / TileSize,
                  ConsoleExact(ExportHardware::Nes, i % 4));
        tiles.Set(TileLeft(2) + i % TileSize, i / TileSize,
                  ConsoleExact(ExportHardware::Gb, i % 3));
        tiles.Set(TileLeft(3) + i % TileSize, i / TileSize,
                  ConsoleExact(ExportHardware::Gb, 2 + i % 3));
        tiles.Set(TileLeft(4) + i % TileSize, i / TileSize,
                  ConsoleExact(ExportHardware::Gb, 1 + i % 4));
    }
    MapGrid map;
    map(0, 0) = 1;
    map(1, 0) = 2;
    map(2, 0) = 3;
    ExportSettings settings;
    settings.Hardware = ExportHardware::Nes;
    EXPECT_TRUE(Refused(AssignPalettes(map, {}, settings, tiles),
                        "Tile 1 needs 5 colours with the backdrop; a sub-palette holds 4."));
    // The Game Boy's four shades are the colours themselves, the backdrop
    // (tile 0's black) none of them here.
    settings.Hardware = ExportHardware::Gb;
    map.Fill(4);
    EXPECT_TRUE(AssignPalettes(map, {}, settings, tiles).ok());
    map(0, 0) = 2;
    map(1, 0) = 3;
    EXPECT_TRUE(Refused(AssignPalettes(map, {}, settings, tiles),
                        "The tiles need 2 sub-palettes; there is 1. Tile 3 is the first in "
                        "sub-palette 2."));
}
