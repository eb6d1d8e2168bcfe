#include "ui/frm_import_picture.h"
#include "ui/frm_main.h"

namespace tessra {

void frmMain::mnuImportPicture_Click() {
    if (!MaySaveChanges()) {
        return;
    }
    UndoStep step(history_, state_, "Import Picture");
    if (!OpenToolWindow<frmImportPicture>()) {
        return;
    }
    // A new map: untitled, and the export kept beside the old map's file goes with it.
    state_.CurrentFileName = UntitledFileName;
    exportProfile_.reset();
    DocumentChange change = step.Close();
    change.fileName = true;
    Refresh(change);
}

} // namespace tessra
