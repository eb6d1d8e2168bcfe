#include "platform/dialogs.h"
#include "ui/frm_main.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>
#include <algorithm>

namespace tessra {

namespace {

bool HasSuffix(const QString& path, std::initializer_list<const char*> suffixes) {
    const QString suffix = QFileInfo(path).suffix();
    return std::any_of(suffixes.begin(), suffixes.end(), [&](const char* wanted) {
        return suffix.compare(QLatin1String(wanted), Qt::CaseInsensitive) == 0;
    });
}

// What a drag carries that the window takes: one project file to open, or
// tileset pictures to add. Anything else, or a mix, is not taken.
struct Dropped {
    QString project;
    QStringList tilesets;
};

Dropped DroppedFiles(const QMimeData* data) {
    if (data == nullptr || !data->hasUrls()) {
        return {};
    }
    QStringList paths;
    for (const QUrl& url : data->urls()) {
        paths << url.toLocalFile();
    }
    if (paths.size() == 1 && HasSuffix(paths.front(), {"tessra"})) {
        return {paths.front(), {}};
    }
    const bool pictures = std::all_of(paths.begin(), paths.end(), [](const QString& path) {
        return !path.isEmpty() && HasSuffix(path, {"pcx", "png"});
    });
    return pictures ? Dropped{{}, paths} : Dropped{};
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
    const Dropped dropped = DroppedFiles(event->mimeData());
    if (!dropped.project.isEmpty() || !dropped.tilesets.isEmpty()) {
        event->acceptProposedAction();
    }
}

void frmMain::dropEvent(QDropEvent* event) {
    const Dropped dropped = DroppedFiles(event->mimeData());
    if (dropped.project.isEmpty() && dropped.tilesets.isEmpty()) {
        return;
    }
    event->acceptProposedAction();
    if (!dropped.tilesets.isEmpty()) {
        AddDroppedTilesets(dropped.tilesets);
    } else if (MaySaveChanges()) {
        OpenProjectFile(dropped.project);
    }
}

} // namespace tessra
