#include "cli/map_commands.h"
#include "cli/subcommand.h"

#include <array>

namespace tessra {

std::span<const Subcommand> Subcommands() {
    static const std::array commands = {
        ExportDatCommand(),
        ImportCsvCommand(),
        SwapCommand(),
        ReplaceCommand(),
    };
    return commands;
}

} // namespace tessra
