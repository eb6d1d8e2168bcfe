#include "cli/build_command.h"
#include "cli/export_command.h"
#include "cli/image_commands.h"
#include "cli/level_commands.h"
#include "cli/map_commands.h"
#include "cli/subcommand.h"
#include "cli/tiled_commands.h"

#include <array>

namespace tessra {

std::span<const Subcommand> Subcommands() {
    static const std::array commands = {
        // The map document
        ExportDatCommand(),
        ExportCommand(),
        BuildCommand(),
        ImportCsvCommand(),
        ImportImageCommand(),
        SwapCommand(),
        ReplaceCommand(),
        // Pictures
        PcxToImageCommand(),
        PaletteCommand(),
        RenderCommand(),
        // Tiled
        ExportTmxCommand(),
        ImportTmxCommand(),
    };
    return commands;
}

} // namespace tessra
