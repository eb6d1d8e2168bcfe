#include "platform/dialogs.h"
#include "platform/file_io.h"
#include "platform/qt_text.h"
#include "ui/frm_main.h"

#include <QAction>
#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <algorithm>

namespace tessra {

namespace {

const QString MissingMark = QStringLiteral(" (missing)");

const char* EditLabel(TilesetEdit edit) {
    switch (edit) {
    case TilesetEdit::Remove:
        return "Remove Tileset";
    case TilesetEdit::MoveUp:
        return "Move Tileset Up";
    case TilesetEdit::MoveDown:
        return "Move Tileset Down";
    }
    return "";
}

} // namespace

void frmMain::BuildTilesetCommands() {
    connect(cmdDelTileset, &QPushButton::clicked, this,
            [this] { EditTileset(TilesetEdit::Remove); });
    connect(cmdMoveUp, &QPushButton::clicked, this, [this] { EditTileset(TilesetEdit::MoveUp); });
    connect(cmdMoveDown, &QPushButton::clicked, this,
            [this] { EditTileset(TilesetEdit::MoveDown); });

    // A right click selects the entry under it, then offers its commands.
    mnuLocateTileset = new QAction(QStringLiteral("&Locate..."), lstTilesets);
    mnuLocateTileset->setObjectName(QStringLiteral("mnuLocateTileset"));
    mnuLocateTileset->setEnabled(false);
    connect(mnuLocateTileset, &QAction::triggered, this, &frmMain::mnuLocateTileset_Click);
    lstTilesets->addAction(mnuLocateTileset);
    lstTilesets->setContextMenuPolicy(Qt::ActionsContextMenu);
    // The missing mark fits a text line, so the short list keeps its three rows.
    const int mark = lstTilesets->fontMetrics().height() - 2;
    lstTilesets->setIconSize(QSize(mark, mark));
}

void frmMain::EditTileset(TilesetEdit edit) {
    history_.EndStep(state_);
    const int selected = lstTilesets->currentRow();
    const std::vector<int> counts = TilesetTileCounts(state_.Tilesets, LoadTilesetPicture);
    const std::optional<TilesetEditPlan> plan =
        PlanTilesetEdit(state_.Tilesets, counts, edit, selected);
    if (!plan) {
        return;
    }
    // Later tilesets take new numbers; the map follows them only if asked to.
    const bool renumber =
        RenumberChangesMap(state_.MapData, plan->Renumber) &&
        dialogs_.AskYesNo(this,
                          QStringLiteral("This changes the numbers of the tiles that follow. "
                                         "Renumber the map so that every cell keeps its picture?"),
                          QStringLiteral("TESSRA"), true);
    history_.Record(state_, EditLabel(edit), [&] {
        state_.Tilesets = plan->Tilesets;
        if (renumber) {
            RenumberMap(state_.MapData, plan->Renumber);
        }
    });
    // The selected tile keeps its picture along with the map.
    if (renumber && IsTileNumber(state_.SelectedTile)) {
        state_.SelectedTile = plan->Renumber[state_.SelectedTile];
    }
    RebuildPalette(plan->Selected);
    UpdateEditMenu();
}

void frmMain::mnuLocateTileset_Click() {
    const int selected = lstTilesets->currentRow();
    if (selected < 0 || selected >= static_cast<int>(state_.Tilesets.size())) {
        return;
    }
    const std::optional<QString> chosen =
        dialogs_.OpenFile(this, {.title = QStringLiteral("Locate PCX File"),
                                 .filter = QStringLiteral("PCX Files|*.pcx|All Files|*.*|"),
                                 .defaultSuffix = {}});
    if (!chosen) {
        return;
    }
    const std::string path = FileNameOf(*chosen);
    if (path == state_.Tilesets[selected]) {
        return;
    }
    if (std::ranges::find(state_.Tilesets, path) != state_.Tilesets.end()) {
        ShowError(QStringLiteral("That tileset is already loaded."));
        return;
    }
    history_.EndStep(state_);
    history_.Record(state_, "Locate Tileset", [&] { state_.Tilesets[selected] = path; });
    RebuildPalette(selected);
    UpdateEditMenu();
}

void frmMain::MarkMissingTilesets() {
    const QIcon warning = QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning);
    for (int row = 0; row < lstTilesets->count(); ++row) {
        QListWidgetItem* item = lstTilesets->item(row);
        // The text stays the path; the mark is the icon, the colour and the tip.
        const bool missing =
            row >= static_cast<int>(state_.Tilesets.size()) || !FileExists(state_.Tilesets[row]);
        item->setIcon(missing ? warning : QIcon());
        item->setForeground(missing ? QBrush(Qt::darkRed) : QBrush());
        item->setToolTip(missing ? item->text() + MissingMark : QString());
    }
}

} // namespace tessra
