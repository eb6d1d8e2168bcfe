#pragma once

#include "cli/subcommand.h"
#include "core/base/result.h"
#include "core/model/tile_attributes.h"
#include "core/render/surface.h"

#include <string>
#include <vector>

namespace tessra {

// The picture commands: pcx-to-image, palette and render.
Subcommand PcxToImageCommand();
Subcommand PaletteCommand();
Subcommand RenderCommand();

// The files a map's tileset paths name, as the editor resolves them.
std::vector<std::string> ResolveTilesets(const std::vector<std::string>& tilesets,
                                         const std::string& mapPath);

} // namespace tessra
