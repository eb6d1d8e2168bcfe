#include "io/file_document.h"
#include "platform/dialogs.h"
#include "platform/qt_text.h"
#include "ui/frm_main.h"

namespace tessra {

namespace {

const QString ProjectFilter = QStringLiteral("TESSRA Project Files|*.tessra|All Files|*.*|");

} // namespace

void frmMain::mnuOpenMap_Click() {
    if (!MaySaveChanges()) {
        return;
    }
    const std::optional<QString> chosen =
        dialogs_.OpenFile(this, {.title = QStringLiteral("Open TESSRA Map File"),
                                 .filter = ProjectFilter,
                                 .defaultSuffix = {}});
    if (chosen) {
        OpenProjectFile(FileNameOf(*chosen));
    }
}

bool frmMain::OpenProjectFile(const std::string& path) {
    // The whole document is read and checked before the window's is touched.
    Result<Document> document = ReadDocument(path);
    if (!document) {
        ShowError(ToQString(document.message()));
        return false;
    }
    static_cast<Document&>(state_) = std::move(document).value();
    state_.CurrentFileName = path;
    countedTilesets_.clear(); // its tilesets are numbered as they are found now
    // Tile 0 and no list entry, as a pick at the palette's corner leaves them.
    static_cast<Selection&>(state_) = Selection{};
    history_.Clear();
    Refresh(
        {.cells = true, .tilesets = true, .fileName = true, .selection = true, .history = true});
    ReadExportProfile(path);
    return true;
}

bool frmMain::mnuSaveMap_Click() {
    if (state_.CurrentFileName == UntitledFileName) {
        return mnuSaveMapAs_Click();
    }
    return WriteProjectFile(state_.CurrentFileName);
}

bool frmMain::mnuSaveMapAs_Click() {
    const std::optional<QString> chosen =
        dialogs_.SaveFile(this, {.title = QStringLiteral("Save TESSRA Map File"),
                                 .filter = ProjectFilter,
                                 .overwritePrompt = true,
                                 .defaultSuffix = QStringLiteral("tessra")});
    if (!chosen) {
        return false;
    }
    // The name is taken only once the file is written, so a failed save leaves
    // the title pointing at the file the map really came from.
    const std::string file = FileNameOf(*chosen);
    if (!WriteProjectFile(file)) {
        return false;
    }
    // The list keeps its paths and the folder they are taken from (the file
    // lists them from its own), so undo keeps naming the same pictures.
    state_.CurrentFileName = file;
    Refresh({.fileName = true});
    return true;
}

bool frmMain::WriteProjectFile(const std::string& path) {
    // A drag in progress ends here, so the saved point covers what is written.
    DocumentChange change = history_.EndStep(state_);
    // The remembered export follows the map to a new name.
    const bool moved = path != state_.CurrentFileName;
    Status kept;
    const Status written =
        WriteDocument(path, state_, moved && exportProfile_ ? &*exportProfile_ : nullptr, &kept);
    if (written) {
        history_.MarkSaved();
        change.history = true;
    }
    Refresh(change);
    if (!written) {
        ShowError(ToQString(written.message()));
        return false;
    }
    if (!kept) {
        // Saving matters more than the copy of what it replaced.
        ShowError(QStringLiteral("The map was saved, but its previous version could not be "
                                 "kept: %1")
                      .arg(ToQString(kept.message())));
    }
    // A failed export is told, but the map is saved all the same.
    if (exportProfile_ && exportProfile_->ExportOnSave && MayExportOnSave(path)) {
        (void)WriteRememberedExport(path, true);
    }
    return true;
}

} // namespace tessra
