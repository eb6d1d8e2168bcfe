#include "platform/previous_version.h"

#include "platform/file_io.h"

#include <QFileInfo>

namespace tessra {

QString PreviousVersionPath(const QString& path) {
    return path + QStringLiteral(".bak");
}

Status KeepPreviousVersion(const QString& path) {
    if (!QFileInfo(path).isFile()) {
        return {};
    }
    const Result<Bytes> old = ReadFileBytes(path);
    if (!old) {
        return old;
    }
    return WriteFileAtomic(PreviousVersionPath(path), old.value());
}

} // namespace tessra
