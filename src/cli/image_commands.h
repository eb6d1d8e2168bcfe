#pragma once

#include "cli/subcommand.h"
#include "core/result.h"
#include "core/surface.h"

#include <string>
#include <vector>

namespace tessra {

// The picture commands: pcx-to-image, palette and render.
Subcommand PcxToImageCommand();
Subcommand PaletteCommand();
Subcommand RenderCommand();

// The palette the editor builds from these tilesets, PCX or PNG; every tileset
// that fails to load is named, one to a line.
Result<Surface> BuildPalette(const std::vector<std::string>& tilesets);

// Tileset paths in a map are relative to the map file's folder.
std::vector<std::string> ResolveTilesets(const std::vector<std::string>& tilesets,
                                         const std::string& mapPath);

} // namespace tessra
