#include "core/model/tile_usage.h"
#include "ui/edit_field.h"
#include "ui/frm_main.h"
#include "ui/main_status_bar.h"

#include <QAction>
#include <QMenu>

namespace tessra {

void frmMain::BuildTileUsage() {
    auto* view = findChild<QMenu*>(QStringLiteral("mnuView_submenu"));
    mnuHighlightTile = view->addAction(QStringLiteral("Highlight Selected Tile"));
    mnuHighlightTile->setObjectName(QStringLiteral("mnuHighlightTile"));
    mnuHighlightTile->setCheckable(true);
    connect(mnuHighlightTile, &QAction::toggled, this, [this] { ShowTileUsage(); });
}

void frmMain::ShowTileUsage() {
    if (!mnuHighlightTile->isChecked()) {
        editField_->ShowHighlight(std::nullopt);
        statusBar_->ShowHighlightCount(std::nullopt);
        return;
    }
    const int tile = state_.SelectedTile;
    editField_->ShowHighlight(tile);
    const int cells = IsTileNumber(tile) ? CountTileUsage(state_.MapData)[tile] : 0;
    statusBar_->ShowHighlightCount(MainStatusBar::TileCount{tile, cells});
}

} // namespace tessra
