#include "ui/tileset_watcher.h"

#include <QDir>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QTimer>

namespace tessra {

namespace {

constexpr int QuietMilliseconds = 200;

} // namespace

TilesetWatcher::TilesetWatcher(QObject* parent) : QObject(parent) {
    watcher_ = new QFileSystemWatcher(this);
    quiet_ = new QTimer(this);
    quiet_->setSingleShot(true);
    quiet_->setInterval(QuietMilliseconds);
    connect(quiet_, &QTimer::timeout, this, &TilesetWatcher::Settle);
    connect(watcher_, &QFileSystemWatcher::fileChanged, this, [this] {
        fileChanged_ = true;
        quiet_->start();
    });
    // A folder changes for any of its files; only ours count, in Settle.
    connect(watcher_, &QFileSystemWatcher::directoryChanged, quiet_, qOverload<>(&QTimer::start));
}

void TilesetWatcher::Watch(const QStringList& paths) {
    paths_ = paths;
    if (!watcher_->files().isEmpty()) {
        watcher_->removePaths(watcher_->files());
    }
    if (!watcher_->directories().isEmpty()) {
        watcher_->removePaths(watcher_->directories());
    }
    QStringList watched;
    for (const QString& path : paths) {
        const QFileInfo info(path);
        if (info.exists()) {
            watched << info.absoluteFilePath();
        }
        // The folder tells of a file that went away or came back.
        if (info.absoluteDir().exists()) {
            watched << info.absolutePath();
        }
    }
    watched.removeDuplicates();
    if (!watched.isEmpty()) {
        watcher_->addPaths(watched);
    }
    known_ = Snapshot();
}

std::vector<TilesetWatcher::FileState> TilesetWatcher::Snapshot() const {
    std::vector<FileState> states;
    for (const QString& path : paths_) {
        const QFileInfo info(path);
        states.push_back({info.exists(), info.size(), info.lastModified()});
    }
    return states;
}

void TilesetWatcher::Settle() {
    const bool changed = std::exchange(fileChanged_, false) || Snapshot() != known_;
    // Watched anew: a file replaced by a rename is no longer the one watched.
    Watch(paths_);
    if (changed) {
        emit Changed();
    }
}

} // namespace tessra
