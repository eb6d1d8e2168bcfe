#pragma once

#include "core/base/result.h"

#include <string>

namespace tessra {

// "map.tessra.bak" for "map.tessra".
std::string PreviousVersionPath(const std::string& path);

// Before a file is replaced: copies it, if it is there as an ordinary file, to
// PreviousVersionPath, atomically and synced, as it is the user's work. A file
// not yet written is nothing to keep.
Status KeepPreviousVersion(const std::string& path);

} // namespace tessra
