#pragma once

#include "cli/subcommand.h"

namespace tessra {

// From a level picture to a map: import-image, assign-palettes and similar.
Subcommand ImportImageCommand();
Subcommand AssignPalettesCommand();
Subcommand SimilarCommand();

} // namespace tessra
