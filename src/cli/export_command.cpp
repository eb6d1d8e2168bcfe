#include "cli/export_command.h"

#include "cli/cli_files.h"
#include "cli/cli_options.h"
#include "cli/image_commands.h"
#include "core/base/message_text.h"
#include "io/file_export.h"
#include "io/file_tileset.h"

#include <algorithm>
#include <optional>
#include <ostream>

namespace tessra {

namespace {

constexpr std::string_view ProfileOption = "--profile";
constexpr std::string_view AttributesOption = "--attributes";
constexpr std::string_view ListFormatsOption = "--list-formats";

struct ExportArgs {
    std::vector<std::string> files; // MAP.tessra, then OUT if given
    std::optional<std::string> profile;
    std::optional<std::string> attributes;
    std::vector<std::pair<std::string, std::string>> settings; // in the order given
};

// "--name VALUE" or "--name=VALUE" at args[i], for a setting, --profile or
// --attributes. A flag alone is true: it never takes the next argument,
// which may be a file name.
std::optional<std::pair<std::string, std::string>> ReadOption(const std::vector<std::string>& args,
                                                              std::size_t& i) {
    const std::string& arg = args[i];
    const std::size_t equals = arg.find('=');
    const std::string name = arg.substr(2, equals == std::string::npos ? equals : equals - 2);
    const auto names = ExportSettingNames();
    if (name != ProfileOption.substr(2) && name != AttributesOption.substr(2) &&
        std::find(names.begin(), names.end(), name) == names.end()) {
        return std::nullopt;
    }
    if (equals != std::string::npos) {
        return std::pair(name, arg.substr(equals + 1));
    }
    if (IsFlagSetting(name)) {
        return std::pair(name, std::string("true"));
    }
    if (i + 1 < args.size()) {
        return std::pair(name, args[++i]);
    }
    return std::nullopt;
}

Result<ExportArgs> ReadExportArgs(const std::vector<std::string>& args) {
    ExportArgs parsed;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (!args[i].starts_with("--")) {
            parsed.files.push_back(args[i]);
            continue;
        }
        const auto option = ReadOption(args, i);
        if (!option) {
            return UnknownOption(args[i]);
        }
        if ("--" + option->first == ProfileOption) {
            parsed.profile = option->second;
        } else if ("--" + option->first == AttributesOption) {
            parsed.attributes = option->second;
        } else {
            parsed.settings.push_back(*option);
        }
    }
    if (parsed.files.empty() || parsed.files.size() > 2) {
        return UsageError("export takes MAP.tessra and OUT, given " +
                          std::to_string(parsed.files.size()) + " file names");
    }
    return parsed;
}

// The tile attributes: the file named, else NAME.attributes.json beside the
// map; read only when named or when the export uses them.
AttributesFrom AttributesSource(const ExportArgs& args, const ExportSettings& settings) {
    if (args.attributes) {
        return AttributesFrom::Named;
    }
    const bool used = settings.Hardware != ExportHardware::None || settings.Behaviour;
    return used ? AttributesFrom::Beside : AttributesFrom::Nowhere;
}

struct ExportJob {
    ExportSettings settings;
    std::string output;
};

// The profile first, then the command line's settings over it, then OUT over
// the profile's output.
Result<ExportJob> MakeJob(const ExportArgs& args) {
    ExportJob job;
    if (args.profile) {
        Result<ExportProfile> profile = LoadExportProfile(*args.profile);
        if (!profile) {
            return Error{profile.message()};
        }
        job.settings = profile.value().Settings;
        ResolveExportPaths(job.settings, args.files[0]);
        job.output = ResolveExportOutput(args.files[0], profile.value().Output);
    }
    for (const auto& [name, text] : args.settings) {
        if (Status set = SetExportSetting(job.settings, name, text); !set) {
            return UsageError(set.message());
        }
    }
    if (args.files.size() == 2) {
        job.output = args.files[1];
    }
    if (job.output.empty()) {
        return UsageError("No output file: give OUT, or a --profile whose \"output\" names one.");
    }
    if (Status checked = CheckExportSettings(job.settings); !checked) {
        return Error{checked.message()};
    }
    const bool text =
        job.settings.Format == ExportFormat::Raw || job.settings.Format == ExportFormat::Csv;
    if (job.output == StandardOutputName && !text) {
        return UsageError("The format setting must be raw or csv to write to standard output (-), "
                          "not \"" +
                          ExportSettingText(job.settings, "format") + "\".");
    }
    for (const std::string_view name : {"tiles", "palettes"}) {
        if (ExportSettingText(job.settings, name) == StandardOutputName) {
            return UsageError("The " + std::string(name) +
                              " setting must name a file: standard output (-) takes the map "
                              "alone.");
        }
    }
    return job;
}

void ListFormats(std::ostream& out) {
    std::size_t nameWidth = 0, valueWidth = 0;
    for (const ExportChoiceSetting& setting : ExportChoiceSettings()) {
        nameWidth = std::max(nameWidth, setting.name.size());
        for (const ExportChoice& choice : setting.choices) {
            valueWidth = std::max(valueWidth, choice.value.size());
        }
    }
    out << "The values of each export setting:\n";
    for (const ExportChoiceSetting& setting : ExportChoiceSettings()) {
        for (const ExportChoice& choice : setting.choices) {
            out << "  " << setting.name << std::string(nameWidth + 2 - setting.name.size(), ' ')
                << choice.value << std::string(valueWidth + 2 - choice.value.size(), ' ')
                << choice.description << '\n';
        }
    }
    out << "The first value of each is the default; numbering's follows the hardware.\n";
}

Status RunExport(const std::vector<std::string>& args, std::ostream& out) {
    if (std::find(args.begin(), args.end(), ListFormatsOption) != args.end()) {
        if (args.size() != 1) {
            return UsageError("--list-formats takes no other arguments");
        }
        ListFormats(out);
        return {};
    }
    const Result<ExportArgs> parsed = ReadExportArgs(args);
    if (!parsed) {
        return parsed;
    }
    // Every setting is checked before the map is read or a file touched.
    const Result<ExportJob> job = MakeJob(parsed.value());
    if (!job) {
        return job;
    }
    const ExportArgs& files = parsed.value();
    const std::string& mapPath = files.files[0];
    const Result<Document> document = ReadDocument(
        mapPath, AttributesSource(files, job.value().settings), files.attributes.value_or(""));
    if (!document) {
        return document;
    }
    // An export never replaces what it reads: the map's files, and those named.
    std::vector<std::string> sources = FilesOfMap(mapPath, document.value());
    for (const std::optional<std::string>& named : {files.attributes, files.profile}) {
        if (named) {
            sources.push_back(*named);
        }
    }
    const ExportSettings& settings = job.value().settings;
    // The tiles' pictures, only when the tile graphics, palettes or unique
    // numbering read them.
    std::optional<Surface> picture;
    if (NeedsTilePictures(settings)) {
        Result<Surface> built =
            BuildPalette(document.value().Tilesets, document.value().ProjectFolder);
        if (!built) {
            return built;
        }
        picture = std::move(built).value();
    }
    const Result<MapExport> result =
        ExportMapFiles(document.value().MapData, document.value().Attributes, settings,
                       job.value().output, sources, picture ? &*picture : nullptr);
    if (!result) {
        return result;
    }
    if (job.value().output != StandardOutputName) {
        out << DescribeWrittenExport(result.value(), settings) << '\n';
    }
    return {};
}

} // namespace

Subcommand ExportCommand() {
    return {"export",
            "MAP.tessra OUT [--region X,Y,W,H] [--screen W,H] [--order rows|columns]\n"
            "          [--offset N] [--entry u8|u16le|u16be] [--behaviour]\n"
            "          [--hardware none|snes|gba|md|gbc|nes|gb]\n"
            "          [--numbering image|metatile|unique] [--tile-base N]\n"
            "          [--tiles FILE] [--palettes FILE] [--bpp 2|4|8] [--backdrop RRGGBB]\n"
            "          [--palette-file FILE.gpl] [--nes-palette FILE.pal]\n"
            "          [--bank FILE.tilebank]\n"
            "          [--compress none|rle|lz77] [--format raw|c|asm|csv]\n"
            "          [--syntax ca65|rgbds|sdas|gas] [--name IDENT]\n"
            "          [--attributes FILE.attributes.json] [--profile FILE.export.json]\n"
            "       tessra-cli export --list-formats",
            "Write a block of a map in a game's own layout: raw, C, assembly or CSV.",
            "Writes the region of the map in MAP.tessra to OUT, cut into screens, one or two\n"
            "bytes a cell or the console's own map entries, compressed for the GBA BIOS if\n"
            "asked, as raw bytes, C, assembly or CSV. Every setting has a default; the\n"
            "defaults write the whole map, one byte a cell, row after row, as Map\n"
            "Generation does.\n"
            "\n"
            "  --region X,Y,W,H  the block of cells (0,0,256,256); it lies inside the map\n"
            "  --screen W,H      screens written one after the other, left to right, then\n"
            "                    top to bottom (the region's size); they divide the region\n"
            "  --order           rows: x runs fastest in a screen; columns: y does (rows)\n"
            "  --offset N        added to every tile number, -65535 to 65535 (0)\n"
            "  --entry           u8, u16le or u16be: the bytes of each cell (u8); a value\n"
            "                    that does not fit is refused, naming the cell\n"
            "  --behaviour       writes each cell's behaviour byte, from the tile\n"
            "                    attributes, in place of its tile number (--behaviour=false)\n"
            "  --hardware        none, or the console whose map to write: snes, gba, md,\n"
            "                    gbc, nes or gb (none); each cell becomes 2 x 2 entries of\n"
            "                    8 x 8 tiles, with the palette, priority and flips of its\n"
            "                    tile, and --screen counts those entries (nes: 32,30)\n"
            "  --numbering       image: the palette picture cut into 8 x 8 tiles, 32 a row\n"
            "                    (for snes, gba, md); metatile: tile n's quarters are 4n to\n"
            "                    4n + 3 (for gbc, nes, gb), as palette --layout metatile\n"
            "                    draws; unique: each 8 x 8 tile the entries show stored\n"
            "                    once, in the order they first show it, a mirror image of\n"
            "                    another too where the console flips (snes, gba, md, gbc)\n"
            "  --tile-base N     added to every 8 x 8 tile number, 0 to 2047 (0)\n"
            "  --tiles FILE      also writes the 8 x 8 tiles the entries name, in the\n"
            "                    console's format (NAME_tiles in c and asm)\n"
            "  --palettes FILE   also writes the sub-palettes (NAME_palettes)\n"
            "  --bpp N           bits a pixel: nes, gb, gbc 2; snes 2, 4 or 8; gba 4 or 8;\n"
            "                    md 4 (4 where the console takes it, else 2)\n"
            "  --backdrop RRGGBB colour index 0 of every sub-palette (tile 0's top-left\n"
            "                    pixel)\n"
            "  --palette-file F  a GIMP palette (.gpl) that fixes the colours and their\n"
            "                    order: sub-palette p is its colours p x 2^bpp onward, its\n"
            "                    first colour the backdrop\n"
            "  --nes-palette F   64 colours of red, green, blue bytes (an emulator's .pal)\n"
            "                    in place of the built-in NES colours\n"
            "  --bank FILE       a tile bank the map shares with others: its tiles and\n"
            "                    colours keep their numbers, the map's new ones are added\n"
            "                    and the bank written back; tiles and palettes are the\n"
            "                    bank's (see tessra-cli build --help)\n"
            "  --compress        none, rle or lz77, as the GBA BIOS unpacks them (none)\n"
            "  --format          raw, c (NAME.c and NAME.h), asm or csv (raw)\n"
            "  --syntax          the assembler for asm: ca65, rgbds, sdas or gas (ca65)\n"
            "  --name IDENT      the symbol for c and asm (OUT's name, made an identifier)\n"
            "  --attributes FILE the tile attributes (MAP's NAME.attributes.json, all\n"
            "                    zeros when there is none), read for --behaviour and\n"
            "                    --hardware\n"
            "  --profile FILE    takes the settings of FILE.export.json, as the editor\n"
            "                    keeps them; options given here win, and OUT wins over\n"
            "                    its output, which is read relative to MAP.tessra's folder\n"
            "                    and stands in for OUT when OUT is left out\n"
            "\n"
            "gbc writes the tile map, then the attribute map (NAME and NAME_attr in c and\n"
            "asm); nes writes, screen after screen, 960 tile bytes and 64 attribute bytes.\n"
            "The tiles, palettes and unique numbering read the map's tilesets. A tile or\n"
            "a sub-palette with more colours than it has room for is refused, naming the\n"
            "tile, its quarter and the counts, as are more tiles than the entries name.\n"
            "OUT - writes raw or csv to standard output. --list-formats lists the values\n"
            "of each setting. Bad settings are refused before the map is read or a file\n"
            "written.\n",
            1,
            AnyNumberOfArguments,
            RunExport};
}

} // namespace tessra
