#include "platform/dialogs.h"
#include "ui/frm_main.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <algorithm>
#include <cctype>
#include <string_view>

namespace tessra {

namespace {

// A dropped file's name as the system's bytes, which the URL carries
// percent-encoded (toLocalFile would read them as UTF-8); empty for anything
// that is not a local file.
std::string LocalPath(const QUrl& url) {
    if (!url.isLocalFile()) {
        return {};
    }
    const QString encoded = url.path(QUrl::FullyEncoded);
    return QByteArray::fromPercentEncoding(encoded.toLatin1()).toStdString();
}

// Whether the name ends in the suffix, ".png" say, in any case.
bool HasSuffix(const std::string& path, std::string_view suffix) {
    return path.size() > suffix.size() &&
           std::equal(suffix.begin(), suffix.end(), path.end() - suffix.size(), [](char a, char b) {
               return a == std::tolower(static_cast<unsigned char>(b));
           });
}

// What a drag carries that the window takes: one project file to open, or
// tileset pictures to add. Anything else, or a mix, is not taken.
struct Dropped {
    std::string project;
    std::vector<std::string> tilesets;
};

Dropped DroppedFiles(const QMimeData* data) {
    if (data == nullptr || !data->hasUrls()) {
        return {};
    }
    std::vector<std::string> paths;
    for (const QUrl& url : data->urls()) {
        paths.push_back(LocalPath(url));
    }
    if (paths.size() == 1 && HasSuffix(paths.front(), ".tessra")) {
        return {paths.front(), {}};
    }
    const bool pictures = std::ranges::all_of(paths, [](const std::string& path) {
        return HasSuffix(path, ".pcx") || HasSuffix(path, ".png");
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

void frmMain::BecomeUntitled(UndoStep& step, DocumentChange change) {
    // The export kept beside the old map's file goes with the file.
    state_.CurrentFileName = UntitledFileName;
    exportProfile_.reset();
    change |= step.Close();
    change.fileName = change.history = true;
    history_.MarkModified();
    Refresh(change);
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
    if (!dropped.project.empty() || !dropped.tilesets.empty()) {
        event->acceptProposedAction();
    }
}

void frmMain::dropEvent(QDropEvent* event) {
    const Dropped dropped = DroppedFiles(event->mimeData());
    if (dropped.project.empty() && dropped.tilesets.empty()) {
        return;
    }
    event->acceptProposedAction();
    if (!dropped.tilesets.empty()) {
        AddDroppedTilesets(dropped.tilesets);
    } else if (MaySaveChanges()) {
        OpenProjectFile(dropped.project);
    }
}

} // namespace tessra
