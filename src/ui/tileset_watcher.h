#pragma once

#include <QDateTime>
#include <QObject>
#include <QStringList>
#include <vector>

class QFileSystemWatcher;
class QTimer;

namespace tessra {

// Watches the tileset files of the list, and their folders, and says when one
// was written again, appeared or went away. Programs save in several writes,
// or to a new file renamed over the old, so the news waits until the files
// have been quiet for a moment, and the paths are watched anew each time.
class TilesetWatcher : public QObject {
    Q_OBJECT

  public:
    explicit TilesetWatcher(QObject* parent);

    // The files to watch from now on, as resolved paths.
    void Watch(const QStringList& paths);

  signals:
    void Changed();

  private:
    struct FileState {
        bool exists;
        qint64 size;
        QDateTime modified;
        bool operator==(const FileState&) const = default;
    };
    std::vector<FileState> Snapshot() const;
    void Settle();

    QStringList paths_;
    std::vector<FileState> known_;
    bool fileChanged_ = false;
    QFileSystemWatcher* watcher_ = nullptr;
    QTimer* quiet_ = nullptr;
};

} // namespace tessra
