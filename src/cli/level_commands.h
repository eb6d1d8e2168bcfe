#pragma once

#include "cli/subcommand.h"

namespace tessra {

// From a level picture to a map: import-image.
Subcommand ImportImageCommand();

} // namespace tessra
