#pragma once

#include "cli/subcommand.h"

namespace tessra {

// The commands that take maps to Tiled and back: export-tmx and import-tmx.
Subcommand ExportTmxCommand();
Subcommand ImportTmxCommand();

} // namespace tessra
