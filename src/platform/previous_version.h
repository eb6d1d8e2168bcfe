#pragma once

#include "core/result.h"

#include <QString>

namespace tessra {

// "map.tessra.bak" for "map.tessra".
QString PreviousVersionPath(const QString& path);

// Before a file is replaced: copies it, if it is there as an ordinary file, to
// PreviousVersionPath, atomically. A file not yet written is nothing to keep.
Status KeepPreviousVersion(const QString& path);

} // namespace tessra
