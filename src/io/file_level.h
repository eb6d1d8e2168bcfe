#pragma once

#include "core/base/result.h"
#include "core/model/document.h"
#include "core/render/surface.h"

#include <string>
#include <vector>

namespace tessra {

// Reads and decodes a level picture, PNG or PCX, refusing it as
// DecodeLevelPicture does; a failure names the file.
Result<Surface> LoadLevelPicture(const std::string& path);

// Writes a tileset picture as a PNG, through a temporary file synced before it
// replaces the old one: the map that lists it is the user's work.
Status WriteTilesetPicture(const std::string& path, const Surface& tileset);

// Writes a map cut from a level picture as WriteDocument writes a document,
// with its tileset picture in the same group. `inputs` are the files the cut
// read, which no output may replace; nor may the map and the tileset picture
// be one file.
Status WriteLevelMap(const std::string& mapPath, const Document& document,
                     const std::string& tilesetPath, const Surface& tileset,
                     const std::vector<std::string>& inputs);

} // namespace tessra
