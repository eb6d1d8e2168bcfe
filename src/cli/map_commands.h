#pragma once

#include "cli/subcommand.h"

namespace tessra {

// The map document's commands: export-dat, import-csv, swap and replace.
Subcommand ExportDatCommand();
Subcommand ImportCsvCommand();
Subcommand SwapCommand();
Subcommand ReplaceCommand();

} // namespace tessra
