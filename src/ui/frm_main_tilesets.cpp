#include "core/model/tileset_paths.h"
#include "platform/dialogs.h"
#include "platform/qt_text.h"
#include "ui/frm_main.h"
#include "ui/main_status_bar.h"

#include <algorithm>

namespace tessra {

namespace {

const QString TilesetFilter =
    QStringLiteral("Tileset Pictures|*.pcx;*.png|PCX Files|*.pcx|All Files|*.*|");

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

void frmMain::cmdAddTileset_Click() {
    const std::optional<QString> chosen = dialogs_.OpenFile(
        this,
        {.title = QStringLiteral("Import PCX File"), .filter = TilesetFilter, .defaultSuffix = {}});
    if (!chosen) {
        return;
    }
    const std::string path = FileNameOf(*chosen);
    if (const Status checked = CheckNewTileset(state_.Tilesets, path); !checked) {
        ShowError(ToQString(checked.message()));
        return;
    }
    UndoStep step(history_, state_, "Add Tileset");
    state_.Tilesets.push_back(path);
    // Tile 0, whatever was selected before; the list's selection stays.
    state_.SelectedTile = 0;
    DocumentChange change = step.Close();
    change.selection = true;
    Refresh(change);
}

void frmMain::AddDroppedTilesets(const std::vector<std::string>& paths) {
    std::vector<std::string> tilesets = state_.Tilesets;
    QStringList refused;
    for (const std::string& path : paths) {
        if (const Status checked = CheckNewTileset(tilesets, path); !checked) {
            refused << ShownFileName(path) + QStringLiteral(": ") + ToQString(checked.message());
        } else {
            tilesets.push_back(path);
        }
    }
    if (tilesets.size() > state_.Tilesets.size()) {
        UndoStep step(history_, state_, "Add Tileset");
        state_.Tilesets = std::move(tilesets);
        state_.SelectedTile = 0;
        DocumentChange change = step.Close();
        change.selection = true;
        Refresh(change);
    }
    if (!refused.isEmpty()) {
        ShowError(QStringLiteral("Not added:\n\n") + refused.join(QLatin1Char('\n')));
    }
}

void frmMain::EditTileset(TilesetEdit edit) {
    const std::optional<TilesetEditPlan> plan =
        PlanTilesetEdit(state_.Tilesets, TileCounts(), edit, state_.SelectedTileset);
    if (!plan) {
        return;
    }
    // Later tilesets take new numbers; the map follows them only if asked to.
    YesNoAnswer renumber = YesNoAnswer::No;
    if (RenumberChangesMap(state_.MapData, plan->Renumber)) {
        renumber = dialogs_.AskYesNoCancel(
            this,
            QStringLiteral("This changes the numbers of the tiles that follow. "
                           "Renumber the map so that every cell keeps its picture?"),
            QStringLiteral("TESSRA"));
    }
    if (renumber == YesNoAnswer::Cancel) {
        return;
    }
    UndoStep step(history_, state_, EditLabel(edit));
    state_.Tilesets = plan->Tilesets;
    if (renumber == YesNoAnswer::Yes) {
        RenumberMap(state_.MapData, plan->Renumber);
        // The selected tile keeps its picture along with the map.
        if (IsTileNumber(state_.SelectedTile)) {
            state_.SelectedTile = plan->Renumber[state_.SelectedTile];
        }
    }
    state_.SelectedTileset = plan->Selected;
    DocumentChange change = step.Close();
    change.selection = true;
    Refresh(change);
}

void frmMain::mnuLocateTileset_Click() {
    const int selected = state_.SelectedTileset;
    if (selected < 0 || selected >= static_cast<int>(state_.Tilesets.size())) {
        return;
    }
    const std::optional<QString> chosen = dialogs_.OpenFile(
        this,
        {.title = QStringLiteral("Locate PCX File"), .filter = TilesetFilter, .defaultSuffix = {}});
    if (!chosen || FileNameOf(*chosen) == state_.Tilesets[selected]) {
        return;
    }
    const std::string path = FileNameOf(*chosen);
    if (const Status checked = CheckNewTileset(state_.Tilesets, path); !checked) {
        ShowError(ToQString(checked.message()));
        return;
    }
    UndoStep step(history_, state_, "Locate Tileset");
    state_.Tilesets[selected] = path;
    Refresh(step.Close());
}

void frmMain::mnuMakePathsRelative_Click() {
    const std::string mapPath = MapFilePath(state_);
    if (mapPath.empty()) {
        ShowError(QStringLiteral("An untitled map has no folder for its tileset paths to start "
                                 "from. Save it first, then make its tileset paths relative."));
        return;
    }
    // The list is taken from the map's own folder from here on (after Save As
    // it may still be taken from the folder the map came from).
    const std::string folder = FolderOf(mapPath);
    const std::vector<std::string> made = MakeTilesetPathsRelative(
        RebaseTilesetPaths(state_.Tilesets, state_.ProjectFolder, folder), folder);
    const auto relative = [](const std::vector<std::string>& list) {
        return std::ranges::count_if(list,
                                     [](const std::string& p) { return !p.starts_with('/'); });
    };
    const auto changed = relative(made) - relative(state_.Tilesets);
    if (changed == 0) {
        statusBar_->ShowDone(QStringLiteral("No tileset path was changed: none is a whole path "
                                            "into the map's folder or one beside it."));
        return;
    }
    UndoStep step(history_, state_, "Make Tileset Paths Relative");
    state_.Tilesets = made;
    state_.ProjectFolder = folder;
    Refresh(step.Close());
    statusBar_->ShowDone(QStringLiteral("%1 tileset %2 made relative to %3")
                             .arg(changed)
                             .arg(changed == 1 ? QStringLiteral("path") : QStringLiteral("paths"))
                             .arg(ShownFileName(folder)));
}

std::vector<int> frmMain::TileCounts() const {
    std::vector<int> counts = tileCounts_;
    counts.resize(state_.Tilesets.size(), NotRead);
    // Past a full palette nothing was read; moving such a tileset needs its count.
    for (std::size_t i = 0; i < counts.size(); ++i) {
        if (counts[i] == NotRead) {
            const std::string path = ResolveTilesetPath(state_.Tilesets[i], state_.ProjectFolder);
            const Result<Surface> picture = LoadTileset(path);
            counts[i] =
                picture ? TilesetTileCount(picture.value().Width(), picture.value().Height()) : 0;
        }
    }
    return counts;
}

} // namespace tessra
