#pragma once

#include "cli/subcommand.h"

namespace tessra {

// tessra-cli build: every map of a folder exported as its profile says.
Subcommand BuildCommand();

} // namespace tessra
