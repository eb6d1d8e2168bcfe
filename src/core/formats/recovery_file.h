#pragma once

#include "core/base/result.h"
#include "core/formats/project_file.h"

#include <string>
#include <string_view>

namespace tessra {

// A recovery copy: the project file's text behind a header that names the
// file the map came from ("[Untitled]" for none) and the folder its relative
// tileset paths are read from, so that a restored map shows its tiles.
struct RecoveryCopy {
    std::string FileName;
    std::string ProjectFolder;
    ProjectData Project;
};

std::string WriteRecoveryBytes(const std::string& fileName, const std::string& projectFolder,
                               const std::vector<std::string>& tilesets, const MapGrid& map);

// Reads a copy whole or not at all; a refusal names copyName.
Result<RecoveryCopy> ParseRecovery(std::string_view bytes, std::string_view copyName);

} // namespace tessra
