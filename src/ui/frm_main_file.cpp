#include "core/project_file.h"
#include "platform/dialogs.h"
#include "platform/file_io.h"
#include "platform/qt_text.h"
#include "ui/frm_main.h"

#include <filesystem>
#include <string_view>

namespace tessra {

namespace {

const QString ProjectFilter = QStringLiteral("TESSRA Project Files|*.tessra|All Files|*.*|");

// Tileset paths kept relative in a project file are taken from the file's
// folder. Paths are bytes here: a name that is not UTF-8 stays as it is.
void ResolveTilesetPaths(std::vector<std::string>& tilesets, const std::string& projectPath) {
    const std::filesystem::path folder =
        std::filesystem::absolute(std::filesystem::path(projectPath)).parent_path();
    for (std::string& path : tilesets) {
        if (!path.empty() && std::filesystem::path(path).is_relative()) {
            path = (folder / path).lexically_normal().string();
        }
    }
}

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

bool frmMain::OpenProjectFile(const std::string& file) {
    // The whole file is read and checked before the document is touched.
    const Result<Bytes> bytes = ReadFileBytes(file, ProjectFileLimit);
    if (!bytes) {
        ShowError(ToQString(bytes.message()));
        return false;
    }
    const std::string_view text(reinterpret_cast<const char*>(bytes.value().data()),
                                bytes.value().size());
    Result<ProjectData> project = ParseProject(text, file);
    if (!project) {
        ShowError(ToQString(project.message()));
        return false;
    }
    ResolveTilesetPaths(project.value().Tilesets, file);

    state_.CurrentFileName = file;
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
    state_.CurrentFileName = file;
    SetTitle();
    return true;
}

bool frmMain::WriteProjectFile(const std::string& path) {
    // A drag in progress ends here, so the saved point covers what is written.
    history_.EndStep(state_);
    // Saved over a tileset, the map would destroy its own picture.
    if (const Status output = CheckNotAnInput(path, state_.Tilesets); !output) {
        ShowError(ToQString(output.message()));
        return false;
    }
    const std::string bytes = WriteProjectBytes(state_.Tilesets, state_.MapData);
    const Status written = WriteFileAtomic(
        path, std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()),
        Durability::Document);
    if (!written) {
        ShowError(ToQString(written.message()));
        return false;
    }
    history_.MarkSaved();
    UpdateEditMenu();
    return true;
}

} // namespace tessra
