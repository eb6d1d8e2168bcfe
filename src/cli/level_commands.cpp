#include "cli/level_commands.h"

#include "cli/cli_files.h"
#include "cli/cli_options.h"
#include "core/base/message_text.h"
#include "core/convert/level_picture.h"
#include "io/file_level.h"

#include <optional>
#include <ostream>

namespace tessra {

namespace {

struct ImportImageArgs {
    std::string picture, project, tileset;
};

Result<ImportImageArgs> ReadImportImageArgs(const std::vector<std::string>& args) {
    std::vector<std::string> files;
    std::optional<std::string> tileset;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (const auto value = OptionValue(args, i, "--tileset")) {
            tileset = *value;
        } else if (args[i].starts_with("--")) {
            return UnknownOption(args[i]);
        } else {
            files.push_back(args[i]);
        }
    }
    if (files.size() != 2) {
        return UsageError("import-image takes PICTURE and OUT.tessra, given " +
                          std::to_string(files.size()) + " file names");
    }
    if (!tileset) {
        return UsageError("import-image needs --tileset TILES.png, where the tiles are written");
    }
    // Both outputs are files the project names; neither can be a stream.
    for (const std::string* output : {&files[1], &*tileset}) {
        if (*output == StandardOutputName) {
            return UsageError("import-image writes OUT.tessra and the tileset to files, not to "
                              "standard output");
        }
    }
    return ImportImageArgs{files[0], files[1], *tileset};
}

Status RunImportImage(const std::vector<std::string>& given, std::ostream& out) {
    const Result<ImportImageArgs> args = ReadImportImageArgs(given);
    if (!args) {
        return args;
    }
    const Result<Surface> picture = LoadLevelPicture(args.value().picture);
    if (!picture) {
        return picture;
    }
    const Result<LevelCut> cut = CutLevelPicture(picture.value());
    if (!cut) {
        return Error{Shortened(args.value().picture) + ": " + cut.message()};
    }
    const LevelCut& level = cut.value();
    const ImportImageArgs& files = args.value();
    if (Status written = WriteLevelMap(files.project, LevelDocument(level, files.tileset),
                                       files.tileset, level.tileset, {files.picture});
        !written) {
        return written;
    }
    out << DescribeLevelCut(level) << '\n';
    return {};
}

} // namespace

Subcommand ImportImageCommand() {
    return {"import-image",
            "PICTURE OUT.tessra --tileset TILES.png",
            "Make a map and its tileset from a level picture.",
            "Cuts PICTURE, a PNG or PCX whose width and height are multiples of 16 and at\n"
            "most 4096 x 4096, into 16 x 16 cells. Equal cells become one tile, numbered in\n"
            "the order they first appear (rows from the top, each left to right); a mirror\n"
            "image is another tile. TILES.png receives the tiles, 16 a row, and OUT.tessra\n"
            "the map, listing TILES.png by its path from OUT.tessra's folder; cells past\n"
            "the picture hold tile 0. A picture of another size, or of more than 256\n"
            "distinct cells, is refused with exit status 1, naming the size or the count,\n"
            "and nothing is written.\n",
            2,
            AnyNumberOfArguments,
            RunImportImage};
}

} // namespace tessra
