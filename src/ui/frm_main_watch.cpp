#include "core/model/tileset_paths.h"
#include "platform/qt_text.h"
#include "ui/frm_main.h"
#include "ui/tileset_watcher.h"

namespace tessra {

void frmMain::StartWatchingTilesets() {
    tilesetWatcher_ = new TilesetWatcher(this);
    connect(tilesetWatcher_, &TilesetWatcher::Changed, this, &frmMain::TilesetsChangedOnDisk);
}

void frmMain::WatchTilesets() {
    QStringList paths;
    for (const std::string& path : state_.Tilesets) {
        paths << ShownFileName(ResolveTilesetPath(path, state_.ProjectFolder));
    }
    tilesetWatcher_->Watch(paths);
}

void frmMain::TilesetsChangedOnDisk() {
    // No question and no message: the artist saved a picture, and a tileset
    // that went away is marked in the list.
    reportTilesetFailures_ = false;
    Refresh({.tilesets = true});
    reportTilesetFailures_ = true;
}

} // namespace tessra
