#include "cli/map_commands.h"

#include "cli/cli_files.h"
#include "cli/cli_options.h"
#include "core/base/message_text.h"
#include "core/edit/tile_swap.h"
#include "core/formats/csv_import.h"
#include "core/formats/dat_file.h"
#include "core/model/tileset_paths.h"

#include <ostream>

namespace tessra {

namespace {

Status RunExportDat(const std::vector<std::string>& args, std::ostream& out) {
    // The size is checked before any file is touched, as in the editor.
    const Result<int> w = ArgumentNumber("W", args[1], 1, MapSize);
    const Result<int> h = ArgumentNumber("H", args[2], 1, MapSize);
    if (!w || !h) {
        return w ? Status(h) : Status(w);
    }
    if (Status output = CheckNotAnInput(args[3], {&args[0], 1}); !output) {
        return output;
    }
    const Result<ProjectData> project = ReadProjectFile(args[0]);
    if (!project) {
        return project;
    }
    const auto bytes = WriteMapFileBytes(project.value().MapData, w.value(), h.value());
    if (Status written = WriteOutputFile(args[3], bytes, Durability::Document); !written) {
        return written;
    }
    if (args[3] != StandardOutputName) { // the data itself went there
        out << "File was exported.\n";
    }
    return {};
}

// The paths as the editor's Add takes them, each named when refused.
Status CheckTilesets(const std::vector<std::string>& tilesets) {
    for (auto path = tilesets.begin(); path != tilesets.end(); ++path) {
        const std::vector<std::string> before(tilesets.begin(), path);
        if (Status checked = CheckNewTileset(before, *path); !checked) {
            return Error{checked.message() + " (" + Shortened(*path) + ")"};
        }
    }
    return {};
}

Status RunImportCsv(const std::vector<std::string>& args, std::ostream&) {
    for (const auto& [name, text] : {std::pair("W", args[1]), std::pair("H", args[2])}) {
        if (Result<int> size = ArgumentNumber(name, text, 1, 255); !size) {
            return size;
        }
    }
    const std::vector<std::string> tilesets(args.begin() + 4, args.end());
    if (Status checked = CheckTilesets(tilesets); !checked) {
        return checked;
    }
    if (Status output = CheckNotAnInput(args[3], {&args[0], 1}); !output) {
        return output;
    }
    const auto read = [](const std::string& path) {
        return path == StandardInputName ? ReadStandardInput(CsvFileLimit) : ReadCsvFile(path);
    };
    const Result<CsvImport> imported = ImportCsvFile(args[1], args[2], args[0], read);
    if (!imported) {
        return imported;
    }
    return WriteOutputFile(args[3], WriteProjectBytes(tilesets, imported.value().map),
                           Durability::Document);
}

// swap and replace: read the project, change it, write it to OUT.
template <int (*Change)(MapGrid&, std::uint8_t, std::uint8_t)>
Status RunTileChange(const std::vector<std::string>& args, std::ostream&) {
    const Result<int> a = ArgumentNumber("A", args[1], 0, 255);
    const Result<int> b = ArgumentNumber("B", args[2], 0, 255);
    if (!a || !b) {
        return a ? Status(b) : Status(a);
    }
    Result<ProjectData> project = ReadProjectFile(args[0]);
    if (!project) {
        return project;
    }
    ProjectData& data = project.value();
    Change(data.MapData, static_cast<std::uint8_t>(a.value()),
           static_cast<std::uint8_t>(b.value()));
    return WriteOutputFile(args[3], WriteProjectBytes(data.Tilesets, data.MapData),
                           Durability::Document);
}

} // namespace

Subcommand ExportDatCommand() {
    return {"export-dat",
            "MAP.tessra W H OUT.dat",
            "Write the top-left W x H cells of a map as a .dat file.",
            "Writes the top-left W x H cells of the map in MAP.tessra to OUT.dat: one byte\n"
            "per cell, row after row, with no header. W and H must be whole numbers from 1\n"
            "to 256.\n",
            4,
            4,
            RunExportDat};
}

Subcommand ImportCsvCommand() {
    return {"import-csv",
            "IN.csv W H OUT.tessra [TILESET.pcx|TILESET.png ...]",
            "Make a project from a Mappy CSV map.",
            "Fills the top-left W x H cells of an empty map, row after row, from the values\n"
            "of IN.csv and saves it as OUT.tessra with the given tileset paths (PCX or PNG\n"
            "pictures), in order; the tilesets are not read. W and H must be whole numbers\n"
            "from 1 to 255. A value v becomes tile v + 1; a value 0 gives way to the value\n"
            "after it. The import is refused when a value is not a whole number, does not\n"
            "fit 16 bits, or is missing, and so is a tileset path the editor's Add refuses\n"
            "(a line break in it, a blank at either end, or one listed twice).\n",
            4,
            AnyNumberOfArguments,
            RunImportCsv};
}

Subcommand SwapCommand() {
    return {"swap",
            "MAP.tessra A B OUT.tessra",
            "Exchange two tile numbers across a map.",
            "Gives every cell holding tile A the tile B and every cell holding B the tile A,\n"
            "over the whole map of MAP.tessra, and saves the project as OUT.tessra (which\n"
            "may be MAP.tessra itself). A and B must be whole numbers from 0 to 255.\n",
            4,
            4,
            RunTileChange<SwapTiles>};
}

Subcommand ReplaceCommand() {
    return {"replace",
            "MAP.tessra A B OUT.tessra",
            "Change one tile number into another.",
            "Gives every cell holding tile A the tile B, over the whole map of MAP.tessra,\n"
            "and saves the project as OUT.tessra (which may be MAP.tessra itself). Cells\n"
            "holding B stay as they are. A and B must be whole numbers from 0 to 255.\n",
            4,
            4,
            RunTileChange<ReplaceTiles>};
}

} // namespace tessra
