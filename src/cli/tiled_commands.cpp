#include "cli/tiled_commands.h"

#include "cli/cli_files.h"
#include "cli/cli_options.h"
#include "cli/image_commands.h"
#include "core/base/message_text.h"
#include "core/formats/tiled/tmx_import.h"
#include "core/formats/tiled/tmx_writer.h"
#include "core/model/tileset_paths.h"
#include "io/file_tiled.h"
#include "io/file_tileset.h"

#include <filesystem>
#include <ostream>

namespace tessra {

namespace {

Status RunExportTmx(const std::vector<std::string>& args, std::ostream&) {
    const std::string& mapPath = args[0];
    const std::string& outPath = args[1];
    // A wrong name is a wrong command line, told before any file is looked at.
    if (!TiledFormatOf(outPath)) {
        return UsageError("Cannot write " + Shortened(outPath) +
                          ": the name must end in .tmx or .tmj");
    }
    for (const std::string& written : {outPath, TiledPalettePath(outPath)}) {
        if (Status output = CheckNotAnInput(written, {&mapPath, 1}); !output) {
            return output;
        }
    }
    const Result<ProjectData> project = ReadProjectFile(mapPath);
    if (!project) {
        return Error{project.message()};
    }
    const std::vector<std::string> tilesets = ResolveTilesets(project.value().Tilesets, mapPath);
    const Result<Surface> palette = BuildPalette(tilesets, {});
    if (!palette) {
        return Error{palette.message()};
    }
    return WriteTiledMapFiles(project.value().MapData, palette.value(), tilesets, outPath,
                              std::filesystem::path(mapPath).stem().string());
}

Status RunImportTmx(const std::vector<std::string>& args, std::ostream& out) {
    const std::string& inPath = args[0];
    const std::string& outPath = args[1];
    if (Status output = CheckNotAnInput(outPath, {&inPath, 1}); !output) {
        return output;
    }
    const auto read = [](const std::string& path) { return ReadInputFile(path, TiledMapLimit); };
    const Result<std::vector<std::uint8_t>> file = read(inPath);
    if (!file) {
        return Error{file.message()};
    }
    Result<TiledImport> imported = ImportTiledMap(file.value(), inPath, read);
    if (!imported) {
        return Error{imported.message()};
    }
    ProjectData& project = imported.value().project;
    // Listed from the project's folder, as the window lists them.
    project.Tilesets = RelativeTilesetPaths(project.Tilesets, FolderOf(WholePath(outPath)));
    for (const std::string& tileset : project.Tilesets) {
        if (Status checked = CheckTilesetPath(tileset); !checked) {
            return Error{"Cannot write " + Shortened(outPath) + ": it would list the tileset " +
                         Shortened(tileset) + ". " + checked.message()};
        }
    }
    if (Status written = WriteOutputFile(
            outPath, WriteProjectBytes(project.Tilesets, project.MapData), Durability::Document);
        !written) {
        return written;
    }
    for (const std::string& line : DescribeTiledImport(imported.value())) {
        out << line << '\n';
    }
    return {};
}

} // namespace

Subcommand ExportTmxCommand() {
    return {"export-tmx",
            "MAP.tessra OUT.tmx|OUT.tmj",
            "Write a map for the Tiled map editor, with its palette picture.",
            "Writes the map of MAP.tessra as a Tiled map: XML (TMX) when OUT ends in .tmx,\n"
            "JSON (TMJ) when it ends in .tmj. The map is orthogonal, 256 x 256 cells of\n"
            "16 x 16 pixels, with one tile layer named after MAP.tessra (its data in CSV)\n"
            "and one tileset: the editor's 256 x 256 tile palette, written as a PNG\n"
            "beside OUT with .tiles.png for its extension (OUT.tmx -> OUT.tiles.png).\n"
            "Tiled's tile n + 1 is TESSRA tile n. Tileset paths that are relative are\n"
            "taken from MAP.tessra's folder; a tileset that fails to load is refused\n"
            "with exit status 1 and nothing is written. At OUT.tiles.png only nothing or\n"
            "a PNG (an earlier export's picture) is replaced; a link, a folder, a pipe\n"
            "or any other file there is refused, and nothing is written.\n",
            2,
            2,
            RunExportTmx};
}

Subcommand ImportTmxCommand() {
    return {"import-tmx",
            "IN.tmx|IN.tmj OUT.tessra",
            "Make a project from a Tiled map.",
            "Reads a Tiled map, XML (TMX) or JSON (TMJ), and saves it as OUT.tessra. The\n"
            "map must be orthogonal with 16 x 16 tiles and at most 256 x 256 cells (a\n"
            "smaller map fills the top-left; the rest is tile 0). Its first tile layer\n"
            "is taken, in CSV or base64 (uncompressed, zlib, gzip or zstd). Every tileset,\n"
            "embedded or in a .tsx or .tsj file, must be cut from one PNG or PCX picture\n"
            "with no margin or spacing; each picture becomes a tileset of the project\n"
            "(its path relative to OUT.tessra's folder), and each Tiled tile the TESSRA\n"
            "number of the same square of the same picture. Empty cells become tile 0\n"
            "and flipped or rotated cells lose their flags; the command says how many of\n"
            "each, and which layer it took when there are several. Anything else (another\n"
            "orientation or tile size, an infinite map, a tileset of separate pictures, a\n"
            "tile with no TESSRA number) is refused with exit status 1, naming what is\n"
            "not supported, and nothing is written.\n",
            2,
            2,
            RunImportTmx};
}

} // namespace tessra
