#include "help/help_collection.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace tessra {

namespace {

bool SameFile(const QFileInfo& original, const QFileInfo& copy) {
    return copy.exists() && copy.size() == original.size() &&
           copy.lastModified() == original.lastModified();
}

// Through a temporary file, so that another editor starting at the same time
// never opens half a copy. The copy takes its original's time, which marks it
// as up to date and tells the search index when to start again.
bool CopyWhole(const QFileInfo& original, const QString& target) {
    QFile in(original.absoluteFilePath());
    QSaveFile out(target);
    if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly) ||
        out.write(in.readAll()) != original.size() || !out.commit()) {
        return false;
    }
    QFile copy(target);
    return copy.open(QIODevice::ReadWrite) &&
           copy.setFileTime(original.lastModified(), QFileDevice::FileModificationTime);
}

} // namespace

QString UserCopyOfCollection(const QString& collection, const QString& cacheFolder) {
    const QFileInfo original(collection);
    const QDir cache(cacheFolder);
    if (!original.isFile() || cacheFolder.isEmpty() || !cache.mkpath(QStringLiteral("."))) {
        return collection;
    }
    QFileInfoList files = original.dir().entryInfoList({QStringLiteral("*.qch")}, QDir::Files);
    files.append(original);
    for (const QFileInfo& file : files) {
        const QString target = cache.filePath(file.fileName());
        if (!SameFile(file, QFileInfo(target)) && !CopyWhole(file, target)) {
            return collection;
        }
    }
    return cache.filePath(original.fileName());
}

QString HelpCacheFolder() {
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    return cache.isEmpty() ? QString() : QDir(cache).filePath(QStringLiteral("help"));
}

} // namespace tessra
