#include "cli/build_command.h"

#include "core/base/message_text.h"
#include "core/base/number_text.h"
#include "io/map_build.h"

#include <ostream>

namespace tessra {

namespace {

constexpr int MostJobs = 256;

Result<BuildOptions> ReadBuildArgs(const std::vector<std::string>& args) {
    BuildOptions options;
    bool folder = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--compact") {
            options.Compact = true;
        } else if (arg == "--depfile" || arg.starts_with("--depfile=")) {
            const bool joined = arg != "--depfile";
            if (!joined && i + 1 == args.size()) {
                return Error{"--depfile takes the name of the dependency file to write."};
            }
            options.Depfile = joined ? arg.substr(10) : args[++i];
        } else if (arg == "-j" || arg.starts_with("-j") || arg.starts_with("--jobs")) {
            std::string text = arg == "-j" || arg == "--jobs" ? std::string()
                               : arg.starts_with("--jobs=")   ? arg.substr(7)
                                                              : arg.substr(2);
            if ((arg == "-j" || arg == "--jobs") && i + 1 < args.size()) {
                text = args[++i];
            }
            const std::optional<int> jobs = WholeNumberBox(text, 1, MostJobs);
            if (!jobs) {
                return Error{"-j takes how many maps to export at once, from 1 to " +
                             std::to_string(MostJobs) + ", not \"" + Shortened(text) + "\"."};
            }
            options.Jobs = *jobs;
        } else if (arg.starts_with("-") && arg != "-") {
            return Error{"Unknown option: " + Shortened(arg)};
        } else if (folder) {
            return Error{"build takes one folder, given " + Shortened(options.Folder) + " and " +
                         Shortened(arg) + "."};
        } else {
            options.Folder = arg;
            folder = true;
        }
    }
    return options;
}

Status RunBuildCommand(const std::vector<std::string>& args, std::ostream& out) {
    const Result<BuildOptions> options = ReadBuildArgs(args);
    if (!options) {
        return Error{options.message()};
    }
    const Result<BuildReport> built = RunBuild(options.value());
    if (!built) {
        return Error{built.message()};
    }
    const BuildReport& report = built.value();
    for (const BuildOutput& output : report.Outputs) {
        if (output.State == OutputState::Written) {
            out << "Wrote " << output.Path << '\n';
        }
    }
    for (const std::string& note : report.Notes) {
        out << note << '\n';
    }
    out << BuildSummary(report) << '\n';
    if (report.Failures.empty()) {
        return {};
    }
    std::string message = report.Failures.size() == 1
                              ? "A map failed:"
                              : std::to_string(report.Failures.size()) + " maps failed:";
    for (const BuildFailure& failure : report.Failures) {
        message += "\n  " + failure.Map + ": " + failure.Message;
    }
    return Error{message};
}

} // namespace

Subcommand BuildCommand() {
    return {"build",
            "[DIR] [-j N] [--depfile FILE] [--compact]",
            "Bring every map's exports in a folder up to date, as their profiles say.",
            "Exports every NAME.tessra under DIR (the current folder) that has a\n"
            "NAME.export.json beside it, as tessra-cli export --profile would: the map, and\n"
            "the tiles and palettes where the profile names them. Folders named in DIR's\n"
            ".tessraignore (one a line, from DIR) and hidden folders are skipped.\n"
            "\n"
            "  -j N            export N maps at once (one for each core)\n"
            "  --depfile FILE  also write a make dependency file: one rule for each map's\n"
            "                  outputs naming every file they were made from (the map, its\n"
            "                  tile attributes and profile, the tileset pictures, palette\n"
            "                  files and the tile bank), to -include in a Makefile\n"
            "  --compact       renumber each tile bank without the tiles no map uses: the\n"
            "                  only thing that moves a bank's numbers\n"
            "\n"
            "An output whose bytes would not change is not written again: its time and\n"
            "inode stay, so make remakes nothing made from it. What the build made is kept\n"
            "in DIR/.tessra-build (a cache: delete it and the next build reads every map\n"
            "again), so that a map none of whose files changed is not even read.\n"
            "\n"
            "A profile's \"bank\": \"FILE.tilebank\" (from the map's folder) makes the maps\n"
            "that name it share their unique 8 x 8 tiles and colours: a tile or colour\n"
            "already in the bank keeps its number, a new one takes the next, so adding a\n"
            "map leaves the others' outputs as they were. Maps that share a bank join it in\n"
            "the order of their paths and name the same tiles and palettes outputs, which\n"
            "are the bank's (BANK_tiles, BANK_palettes) and are written once. A map whose\n"
            "tiles would take the bank past what the console's map names is refused, and\n"
            "named.\n"
            "\n"
            "A map that fails is named with its message on standard error, the others are\n"
            "still built, and the exit status is 1. Standard output lists the files\n"
            "written, then how many outputs were written, left as they were, and failed.\n",
            0,
            AnyNumberOfArguments,
            RunBuildCommand};
}

} // namespace tessra
