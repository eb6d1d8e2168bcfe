#include "platform/dialogs.h"
#include "ui/frm_main.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

namespace tessra {

namespace {

// The one project file a drag carries, or an empty string: the name as the
// system's bytes, which the URL carries percent-encoded (toLocalFile would
// read them as UTF-8).
std::string DroppedProject(const QMimeData* data) {
    if (data == nullptr || !data->hasUrls() || data->urls().size() != 1 ||
        !data->urls().front().isLocalFile()) {
        return {};
    }
    const QString encoded = data->urls().front().path(QUrl::FullyEncoded);
    const std::string path = QByteArray::fromPercentEncoding(encoded.toLatin1()).toStdString();
    const std::string suffix = path.size() > 7 ? path.substr(path.size() - 7) : std::string();
    return QString::fromLatin1(suffix).compare(QLatin1String(".tessra"), Qt::CaseInsensitive) == 0
               ? path
               : std::string();
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
    if (!DroppedProject(event->mimeData()).empty()) {
        event->acceptProposedAction();
    }
}

void frmMain::dropEvent(QDropEvent* event) {
    const std::string path = DroppedProject(event->mimeData());
    if (path.empty()) {
        return;
    }
    event->acceptProposedAction();
    if (MaySaveChanges()) {
        OpenProjectFile(path);
    }
}

} // namespace tessra
