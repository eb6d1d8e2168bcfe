#pragma once

#include "cli/subcommand.h"

namespace tessra {

// The picture commands: pcx-to-image, palette and render.
Subcommand PcxToImageCommand();
Subcommand PaletteCommand();
Subcommand RenderCommand();

} // namespace tessra
