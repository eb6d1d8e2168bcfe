#include "platform/recovery_store.h"

#include "io/file_io.h"
#include "platform/qt_text.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QRandomGenerator>

namespace tessra {

namespace {

const QString CopyPattern = QStringLiteral("recovery-*.tessra");

QString LockPath(const QString& copy) {
    return copy + QStringLiteral(".lock");
}

// Whether no running editor holds the lock: a lock left by an editor that is
// gone counts as free, and is cleared by taking it.
bool Unheld(const QString& lockPath) {
    QLockFile lock(lockPath);
    return lock.tryLock(0);
}

} // namespace

RecoveryStore::RecoveryStore(const QString& folder) : folder_(folder) {
    // A name of its own, so that two editors, or two windows of one, never share it.
    const QString id = QString::number(QRandomGenerator::global()->generate64(), 36);
    path_ = QDir(folder).filePath(QStringLiteral("recovery-%1.tessra").arg(id));
    QDir().mkpath(folder);
    lock_ = std::make_unique<QLockFile>(LockPath(path_));
    // Without the lock the copy still works; it could only be offered too early.
    (void)lock_->tryLock(0);
}

// Unlocking removes the lock file; a copy left behind is then abandoned.
RecoveryStore::~RecoveryStore() = default;

Status RecoveryStore::Write(std::span<const std::uint8_t> bytes) {
    QDir().mkpath(folder_);
    return WriteFileAtomic(FileNameOf(path_), bytes, Durability::Derived);
}

void RecoveryStore::Remove() {
    QFile::remove(path_);
}

std::vector<QString> RecoveryStore::Abandoned() const {
    const QDir dir(folder_);
    // Locks of editors that ended without a copy to leave are cleared on the way.
    for (const QFileInfo& lock : dir.entryInfoList({CopyPattern + QStringLiteral(".lock")})) {
        const QString copy = lock.absoluteFilePath().chopped(5);
        if (!QFileInfo::exists(copy)) {
            (void)Unheld(lock.absoluteFilePath());
        }
    }
    std::vector<QString> copies;
    for (const QFileInfo& copy : dir.entryInfoList({CopyPattern}, QDir::Files, QDir::Time)) {
        if (copy.absoluteFilePath() != QFileInfo(path_).absoluteFilePath() &&
            Unheld(LockPath(copy.absoluteFilePath()))) {
            copies.push_back(copy.absoluteFilePath());
        }
    }
    return copies;
}

void RecoveryStore::Discard(const QString& copy) {
    QFile::remove(copy);
}

} // namespace tessra
