#pragma once

#include <QString>

namespace tessra {

// The help engine keeps its search index in a folder beside the collection it
// opens, so it opens a copy in the user's cache folder (with the help files
// beside the collection): the index is then built where the user may write,
// and never inside an installation. A copy with its original's size and time
// is used again. When no copy can be made the original is returned, and only
// searching is lost.
QString UserCopyOfCollection(const QString& collection, const QString& cacheFolder);

// cacheFolder for the running program: "help" in its folder of the user's cache.
QString HelpCacheFolder();

} // namespace tessra
