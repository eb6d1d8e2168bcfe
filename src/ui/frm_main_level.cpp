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
    BecomeUntitled(step);
}

} // namespace tessra
