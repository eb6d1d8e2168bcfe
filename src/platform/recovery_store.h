#pragma once

#include "core/base/result.h"

#include <QString>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

class QLockFile;

namespace tessra {

// The recovery copies of every running editor, in one folder. Each editor
// keeps one copy under a name of its own, and holds a lock beside it for as
// long as it runs; a copy whose lock nobody holds was left by an editor that
// ended without removing it, which is the copy worth offering back.
class RecoveryStore {
  public:
    explicit RecoveryStore(const QString& folder);
    ~RecoveryStore();
    RecoveryStore(const RecoveryStore&) = delete;
    RecoveryStore& operator=(const RecoveryStore&) = delete;

    // This editor's copy, written to a temporary file and renamed into place;
    // the folder is made if needed. Not synced: the copy is there for a
    // crash of the editor, and a sync every minute would stall the window.
    Status Write(std::span<const std::uint8_t> bytes);
    // Removes this editor's copy, if there is one.
    void Remove();
    const QString& path() const { return path_; }

    // Copies left by editors that no longer run, newest first. The locks such
    // editors left without a copy are removed.
    std::vector<QString> Abandoned() const;
    // Removes a copy Abandoned named.
    static void Discard(const QString& copy);

  private:
    QString folder_;
    QString path_;
    std::unique_ptr<QLockFile> lock_;
};

} // namespace tessra
