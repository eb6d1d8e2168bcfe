#include "cli/level_commands.h"

#include "cli/cli_files.h"
#include "cli/cli_options.h"
#include "core/base/message_text.h"
#include "core/convert/level_picture.h"
#include "core/convert/palette_assignment.h"
#include "core/convert/similar_tiles.h"
#include "io/file_document.h"
#include "io/file_level.h"
#include "io/file_tileset.h"

#include <algorithm>
#include <optional>
#include <ostream>

namespace tessra {

namespace {

// The file names and the options of one command, read alike by each.
struct LevelArgs {
    std::vector<std::string> files;
    std::optional<std::string> tileset;
    std::optional<int> maxPixels;
    ExportSettings console; // hardware, bpp and backdrop
};

// Reads the options `allowed` names (tileset, max-pixels, console) and the
// file names, which must number `files`.
Result<LevelArgs> ReadLevelArgs(const std::vector<std::string>& args, std::string_view command,
                                std::string_view fileNames, std::size_t files,
                                std::initializer_list<std::string_view> allowed) {
    LevelArgs parsed;
    const auto allows = [&](std::string_view name) {
        return std::find(allowed.begin(), allowed.end(), name) != allowed.end();
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::optional<std::string> value;
        if (allows("tileset") && (value = OptionValue(args, i, "--tileset"))) {
            parsed.tileset = *value;
        } else if (allows("max-pixels") && (value = OptionValue(args, i, "--max-pixels"))) {
            const Result<int> pixels = ReadSimilarPixels(*value);
            if (!pixels) {
                return pixels;
            }
            parsed.maxPixels = pixels.value();
        } else if (allows("console") && args[i].starts_with("--")) {
            bool taken = false;
            for (const char* setting : {"hardware", "bpp", "backdrop"}) {
                if ((value = OptionValue(args, i, std::string("--") + setting))) {
                    if (Status set = SetExportSetting(parsed.console, setting, *value); !set) {
                        return Error{set.message()};
                    }
                    taken = true;
                    break;
                }
            }
            if (!taken) {
                return UnknownOption(args[i]);
            }
        } else if (args[i].starts_with("--")) {
            return UnknownOption(args[i]);
        } else {
            parsed.files.push_back(args[i]);
        }
    }
    if (parsed.files.size() != files) {
        return UsageError(std::string(command) + " takes " + std::string(fileNames) + ", given " +
                          std::to_string(parsed.files.size()) + " file names");
    }
    const ExportSettings& console = parsed.console;
    if (console.Hardware == ExportHardware::None && (console.Bpp || console.Backdrop)) {
        return Error{"--bpp and --backdrop need a --hardware"};
    }
    if (console.Hardware != ExportHardware::None) {
        if (Status checked = CheckColourSettings(console); !checked) {
            return checked;
        }
    }
    return parsed;
}

Status RunImportImage(const std::vector<std::string>& given, std::ostream& out) {
    const Result<LevelArgs> args =
        ReadLevelArgs(given, "import-image", "PICTURE and OUT.tessra", 2, {"tileset", "console"});
    if (!args) {
        return args;
    }
    const std::string& picturePath = args.value().files[0];
    const std::string& mapPath = args.value().files[1];
    if (!args.value().tileset) {
        return UsageError("import-image needs --tileset TILES.png, where the tiles are written");
    }
    const std::string& tilesetPath = *args.value().tileset;
    // Both outputs are files the project names; neither can be a stream.
    if (mapPath == StandardOutputName || tilesetPath == StandardOutputName) {
        return UsageError("import-image writes OUT.tessra and the tileset to files, not to "
                          "standard output");
    }
    const Result<Surface> picture = LoadLevelPicture(picturePath);
    if (!picture) {
        return picture;
    }
    const Result<LevelCut> cut = CutLevelPicture(picture.value());
    if (!cut) {
        return Error{Shortened(picturePath) + ": " + cut.message()};
    }
    const LevelCut& level = cut.value();
    Document document = LevelDocument(level, tilesetPath);
    std::string packed;
    if (args.value().console.Hardware != ExportHardware::None) {
        const Result<PaletteAssignment> assigned = AssignPalettes(
            level.map, document.Attributes, args.value().console, LevelPalette(level));
        if (!assigned) {
            return assigned;
        }
        document.Attributes = assigned.value().attributes;
        packed = DescribePaletteAssignment(assigned.value());
    }
    if (Status written =
            WriteLevelMap(mapPath, document, tilesetPath, level.tileset, {picturePath});
        !written) {
        return written;
    }
    out << DescribeLevelCut(level) << '\n';
    if (!packed.empty()) {
        out << packed << '\n';
    }
    return {};
}

Status RunAssignPalettes(const std::vector<std::string>& given, std::ostream& out) {
    const Result<LevelArgs> args =
        ReadLevelArgs(given, "assign-palettes", "MAP.tessra", 1, {"console"});
    if (!args) {
        return args;
    }
    if (args.value().console.Hardware == ExportHardware::None) {
        return Error{"assign-palettes needs --hardware, the console whose sub-palettes it fills"};
    }
    const std::string& mapPath = args.value().files[0];
    Result<Document> document = ReadDocument(mapPath);
    if (!document) {
        return document;
    }
    Document& map = document.value();
    const Result<Surface> tiles = BuildPalette(map.Tilesets, map.ProjectFolder);
    if (!tiles) {
        return tiles;
    }
    const Result<PaletteAssignment> assigned =
        AssignPalettes(map.MapData, map.Attributes, args.value().console, tiles.value());
    if (!assigned) {
        return assigned;
    }
    map.Attributes = assigned.value().attributes;
    if (Status written = WriteDocument(mapPath, map); !written) {
        return written;
    }
    out << DescribePaletteAssignment(assigned.value()) << '\n';
    return {};
}

Status RunSimilar(const std::vector<std::string>& given, std::ostream& out) {
    const Result<LevelArgs> args = ReadLevelArgs(given, "similar", "MAP.tessra", 1, {"max-pixels"});
    if (!args) {
        return args;
    }
    const Result<Document> document = ReadDocument(args.value().files[0]);
    if (!document) {
        return document;
    }
    const Document& map = document.value();
    const Result<Surface> palette = BuildPalette(map.Tilesets, map.ProjectFolder, map.Attributes);
    if (!palette) {
        return palette;
    }
    for (const SimilarTiles& pair : FindSimilarTiles(
             palette.value(), map.MapData, args.value().maxPixels.value_or(SimilarPixelsDefault))) {
        out << DescribeSimilarTiles(pair) << '\n';
    }
    return {};
}

} // namespace

Subcommand ImportImageCommand() {
    return {"import-image",
            "PICTURE OUT.tessra --tileset TILES.png [--hardware H] [--bpp N] [--backdrop RRGGBB]",
            "Make a map and its tileset from a level picture.",
            "Cuts PICTURE, a PNG or PCX whose width and height are multiples of 16 and at\n"
            "most 4096 x 4096, into 16 x 16 cells. Equal cells become one tile, numbered in\n"
            "the order they first appear (rows from the top, each left to right); a mirror\n"
            "image is another tile. TILES.png receives the tiles, 16 a row, and OUT.tessra\n"
            "the map, listing TILES.png by its path from OUT.tessra's folder; cells past\n"
            "the picture hold tile 0. With --hardware, the tiles' sub-palettes are packed\n"
            "as assign-palettes packs them. A picture of another size, of more than 256\n"
            "distinct cells, or whose colours do not fit the console, is refused with exit\n"
            "status 1, naming the size, the count or the tile, and nothing is written.\n",
            2,
            AnyNumberOfArguments,
            RunImportImage};
}

Subcommand AssignPalettesCommand() {
    return {"assign-palettes",
            "MAP.tessra --hardware H [--bpp N] [--backdrop RRGGBB]",
            "Give each tile the sub-palette that packs the colours into the fewest.",
            "Gives each tile the map uses the sub-palette (its palette attribute, in\n"
            "MAP.attributes.json) so that its colours, at the console's colour depth and\n"
            "with the backdrop, fit that sub-palette, in as few sub-palettes as possible:\n"
            "first fit by overlap, then an exact search, which proves the fewest while the\n"
            "tiles' distinct colour sets are few. H is nes, gb, gbc, snes, gba or md; N and\n"
            "RRGGBB are read as export reads them (the backdrop defaults to the colour of\n"
            "tile 0's top-left pixel). Prints how many sub-palettes it took. A tile with\n"
            "more colours than a sub-palette holds, or tiles needing more sub-palettes\n"
            "than the console has, are refused with exit status 1, naming the tile and\n"
            "the counts, and nothing is written.\n",
            1,
            AnyNumberOfArguments,
            RunAssignPalettes};
}

Subcommand SimilarCommand() {
    return {"similar",
            "MAP.tessra [--max-pixels N]",
            "List the pairs of tiles that look alike.",
            "Prints, one a line, the pairs of tiles the map uses whose pictures, as the\n"
            "editor shows them, differ in at most N pixels (0 to 256, default 8), the\n"
            "closest first, with the cells that hold each; merging a pair means replacing\n"
            "the tile fewer cells hold by the other (tessra-cli replace).\n",
            1,
            AnyNumberOfArguments,
            RunSimilar};
}

} // namespace tessra
