#pragma once

#include "core/base/result.h"
#include "core/model/document.h"

#include <string>
#include <string_view>

namespace tessra {

// A recovery copy: the whole document behind a header that names the file the
// map came from ("[Untitled]" for none) and the folder its relative tileset
// paths are read from, so that a restored map shows its tiles.
struct RecoveryCopy {
    std::string FileName;
    Document Content;
};

// The header, then "attributes N" and the N bytes of the tile attributes file
// when any tile has attributes, then the project file.
std::string WriteRecoveryBytes(const std::string& fileName, const Document& document);

// Reads a copy whole or not at all; a refusal names copyName. A copy without
// attributes (as copies were before they held them) gives all zeros.
Result<RecoveryCopy> ParseRecovery(std::string_view bytes, std::string_view copyName);

} // namespace tessra
