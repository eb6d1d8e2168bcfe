#include "io/previous_version.h"

#include "io/file_io.h"

#include <sys/stat.h>

namespace tessra {

std::string PreviousVersionPath(const std::string& path) {
    return path + ".bak";
}

Status KeepPreviousVersion(const std::string& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return {};
    }
    const Result<Bytes> old = ReadFileBytes(path, ProjectFileLimit);
    if (!old) {
        return old;
    }
    return WriteFileAtomic(PreviousVersionPath(path), old.value(), Durability::Document);
}

} // namespace tessra
