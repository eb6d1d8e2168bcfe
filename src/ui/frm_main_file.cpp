#include "core/project_file.h"
#include "platform/dialogs.h"
#include "platform/file_io.h"
#include "ui/frm_main.h"

#include <QDir>
#include <QFileInfo>
#include <string_view>

namespace tessra {

namespace {

const QString ProjectFilter = QStringLiteral("TESSRA Project Files|*.tessra|All Files|*.*|");

// Tileset paths kept relative in a project file are taken from the file's folder.
void ResolveTilesetPaths(std::vector<std::string>& tilesets, const QString& projectPath) {
    const QDir folder = QFileInfo(projectPath).absoluteDir();
    for (std::string& path : tilesets) {
        const QString text = ToQString(path);
        if (!text.isEmpty() && QDir::isRelativePath(text)) {
            path = ToStdString(QDir::cleanPath(folder.absoluteFilePath(text)));
        }
    }
}

} // namespace

void frmMain::mnuOpenMap_Click() {
    const std::optional<QString> chosen =
        dialogs_.OpenFile(this, {.title = QStringLiteral("Open TESSRA Map File"),
                                 .filter = ProjectFilter,
                                 .defaultSuffix = {}});
    if (!chosen) {
        return;
    }
    // The whole file is read and checked before the document is touched.
    const Result<Bytes> bytes = ReadFileBytes(*chosen);
    if (!bytes) {
        ShowError(ToQString(bytes.message()));
        return;
    }
    const std::string_view text(reinterpret_cast<const char*>(bytes.value().data()),
                                bytes.value().size());
    Result<ProjectData> project =
        ParseProject(text, ToStdString(QDir::toNativeSeparators(*chosen)));
    if (!project) {
        ShowError(ToQString(project.message()));
        return;
    }
    ResolveTilesetPaths(project.value().Tilesets, *chosen);

    state_.CurrentFileName = ToStdString(*chosen);
    state_.Tilesets = std::move(project.value().Tilesets);
    state_.MapData = project.value().MapData;
    FillTilesetList();
    const std::vector<TilesetFailure> failures = ReloadTilesets();
    RedrawMapView();
    SetTitle();
    picTileset_MouseUp(1, 1, 1);
    ReportTilesetFailures(failures);
}

void frmMain::mnuSaveMap_Click() {
    if (state_.CurrentFileName == UntitledFileName) {
        mnuSaveMapAs_Click();
        return;
    }
    WriteProjectFile(ToQString(state_.CurrentFileName));
}

void frmMain::mnuSaveMapAs_Click() {
    const std::optional<QString> chosen =
        dialogs_.SaveFile(this, {.title = QStringLiteral("Save TESSRA Map File"),
                                 .filter = ProjectFilter,
                                 .overwritePrompt = true,
                                 .defaultSuffix = QStringLiteral("tessra")});
    if (!chosen) {
        return;
    }
    // The name is taken only once the file is written, so a failed save leaves
    // the title pointing at the file the map really came from.
    if (WriteProjectFile(*chosen)) {
        state_.CurrentFileName = ToStdString(*chosen);
        SetTitle();
    }
}

bool frmMain::WriteProjectFile(const QString& path) {
    const std::string bytes = WriteProjectBytes(state_.Tilesets, state_.MapData);
    const Status written = WriteFileAtomic(
        path, std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
    if (!written) {
        ShowError(ToQString(written.message()));
        return false;
    }
    return true;
}

} // namespace tessra
