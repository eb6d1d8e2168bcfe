#include "platform/dialogs.h"
#include "ui/frm_main.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

namespace tessra {

namespace {

// The one project file a drag carries, or an empty string.
QString DroppedProject(const QMimeData* data) {
    if (data == nullptr || !data->hasUrls() || data->urls().size() != 1) {
        return {};
    }
    const QString path = data->urls().front().toLocalFile();
    return QFileInfo(path).suffix().compare(QLatin1String("tessra"), Qt::CaseInsensitive) == 0
               ? path
               : QString();
}

} // namespace

void frmMain::mnuUndo_Click() {
    Refresh(history_.Undo(state_));
}

void frmMain::mnuRedo_Click() {
    Refresh(history_.Redo(state_));
}

bool frmMain::MaySaveChanges() {
    Refresh(history_.EndStep(state_));
    if (!history_.IsModified()) {
        return true;
    }
    switch (dialogs_.AskSave(this, QStringLiteral("Save changes to the current map?"),
                             QStringLiteral("TESSRA"))) {
    case SaveAnswer::Save:
        return mnuSaveMap_Click();
    case SaveAnswer::Discard:
        return true;
    case SaveAnswer::Cancel:
        break;
    }
    return false;
}

void frmMain::dragEnterEvent(QDragEnterEvent* event) {
    if (!DroppedProject(event->mimeData()).isEmpty()) {
        event->acceptProposedAction();
    }
}

void frmMain::dropEvent(QDropEvent* event) {
    const QString path = DroppedProject(event->mimeData());
    if (path.isEmpty()) {
        return;
    }
    event->acceptProposedAction();
    if (MaySaveChanges()) {
        OpenProjectFile(path);
    }
}

} // namespace tessra
