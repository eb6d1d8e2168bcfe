#pragma once

#include "core/base/result.h"
#include "core/model/tile_attributes.h"
#include "core/render/surface.h"

#include <optional>
#include <string>
#include <vector>

namespace tessra {

// Reads and decodes one tileset picture, PNG or PCX. A failure names the file
// and the reason, e.g. "tiles/a.pcx: BytesPerLine is 0". What the user should
// know of a picture that loads but shows black is added to `notes`.
Result<Surface> LoadTilesetPicture(const std::string& path,
                                   std::vector<std::string>* notes = nullptr);

// The palette the editor shows for these tilesets, PCX or PNG, relative paths
// taken from folder, each tile flipped as its attributes say (unflipped, as
// the export reads them, without attributes); every tileset that fails to
// load is named, one to a line.
Result<Surface> BuildPalette(const std::vector<std::string>& tilesets, const std::string& folder,
                             const TileAttributeTable& attributes = {});

// How many tiles a tileset file holds, from its header alone; nothing when
// only decoding it can tell (it cannot be read, or its header is refused).
std::optional<int> CountTilesetTiles(const std::string& path);

// What a Tiled export does with the file where its palette picture goes.
enum class PictureFile { Write, Keep };

// Looks at what stands at picturePath without following a link there or
// opening anything but a regular file (opening a named pipe would block).
// Nothing, or a PNG that is not a tileset of the map (an earlier export's
// picture), is written over. A map brought back from Tiled has the picture of
// its last export for its tileset: when that already holds this palette it is
// kept. Anything else is refused: a link, a folder, a pipe or a device, a file
// that is not a PNG, any other tileset of the map.
Result<PictureFile> CheckPictureFile(const std::string& picturePath,
                                     const std::vector<std::string>& tilesets,
                                     const Surface& palette);

} // namespace tessra
