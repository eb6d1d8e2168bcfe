#pragma once

#include "cli/subcommand.h"

namespace tessra {

// export: a map in a game's own layout, from settings on the command line and
// from a profile the editor keeps.
Subcommand ExportCommand();

} // namespace tessra
