#include "core/project_file.h"
#include "core/tileset_files.h"
#include "platform/dialogs.h"
#include "platform/file_io.h"
#include "ui/frm_main.h"

#include <QDir>
#include <string_view>

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
        OpenProjectFile(*chosen);
    }
}

bool frmMain::OpenProjectFile(const QString& path) {
    // The whole file is read and checked before the document is touched.
    const Result<Bytes> bytes = ReadFileBytes(path);
    if (!bytes) {
        ShowError(ToQString(bytes.message()));
        return false;
    }
    const std::string_view text(reinterpret_cast<const char*>(bytes.value().data()),
                                bytes.value().size());
    Result<ProjectData> project = ParseProject(text, ToStdString(QDir::toNativeSeparators(path)));
    if (!project) {
        ShowError(ToQString(project.message()));
        return false;
    }
    state_.CurrentFileName = ToStdString(path);
    state_.ProjectFolder = FolderOf(state_.CurrentFileName);
    state_.Tilesets = std::move(project.value().Tilesets);
    state_.MapData = project.value().MapData;
    history_.Clear();
    FillTilesetList();
    const std::vector<TilesetFailure> failures = ReloadTilesets();
    RedrawMapView();
    SetTitle();
    UpdateEditMenu();
    picTileset_MouseUp(1, 1, 1);
    ReportTilesetFailures(failures);
    return true;
}

bool frmMain::mnuSaveMap_Click() {
    if (state_.CurrentFileName == UntitledFileName) {
        return mnuSaveMapAs_Click();
    }
    return WriteProjectFile(ToQString(state_.CurrentFileName));
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
    if (!WriteProjectFile(*chosen)) {
        return false;
    }
    state_.CurrentFileName = ToStdString(*chosen);
    state_.ProjectFolder = FolderOf(state_.CurrentFileName);
    SetTitle();
    return true;
}

bool frmMain::WriteProjectFile(const QString& path) {
    // A drag in progress ends here, so the saved point covers what is written.
    history_.EndStep(state_);
    const std::string bytes = WriteProjectBytes(state_.Tilesets, state_.MapData);
    const Status written = WriteFileAtomic(
        path, std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
    if (!written) {
        ShowError(ToQString(written.message()));
        return false;
    }
    history_.MarkSaved();
    UpdateEditMenu();
    return true;
}

} // namespace tessra
