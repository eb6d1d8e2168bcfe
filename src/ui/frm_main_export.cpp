#include "core/formats/tiled/tmx_import.h"
#include "core/model/tileset_paths.h"
#include "io/file_document.h"
#include "io/file_export.h"
#include "io/file_io.h"
#include "io/file_tiled.h"
#include "platform/dialogs.h"
#include "platform/export_approvals.h"
#include "platform/qt_text.h"
#include "ui/edit_field.h"
#include "ui/frm_build_all.h"
#include "ui/frm_export.h"
#include "ui/frm_main.h"
#include "ui/frm_tile_attributes.h"
#include "ui/main_status_bar.h"
#include "ui/palette_group.h"

#include <QAction>
#include <filesystem>

namespace tessra {

void frmMain::mnuExport_Click() {
    const std::string mapPath = MapFilePath(state_);
    const std::optional<frmExport::Written> written =
        OpenToolWindow<frmExport>(exportProfile_.value_or(ExportProfile{}), mapPath, tiles_);
    if (!written) {
        return;
    }
    exportProfile_ = written->profile;
    statusBar_->ShowDone(ToQString(written->report));
    if (!mapPath.empty()) {
        KeepExportProfile(mapPath);
    }
    ShowExportArea();
    ScheduleBudget({.tilesets = true});
}

void frmMain::mnuExportAgain_Click() {
    // With nothing to repeat, the command asks, as Export... does.
    if (!exportProfile_ || exportProfile_->Output.empty()) {
        mnuExport_Click();
        return;
    }
    (void)WriteRememberedExport(MapFilePath(state_), false);
}

bool frmMain::WriteRememberedExport(const std::string& mapPath, bool onSave) {
    const ExportProfile& profile = *exportProfile_;
    if (profile.Output.empty()) {
        ShowError(QStringLiteral("The export names no output file; choose one in File > "
                                 "Export..."));
        return false;
    }
    const Result<MapExport> written =
        ExportMapFiles(state_.MapData, state_.Attributes, profile.Settings, profile.Output,
                       FilesOfMap(mapPath, state_), &tiles_);
    // On save, the map's own file is safe whatever became of the export.
    const QString saved = onSave ? QStringLiteral("The map was saved, but it was not exported "
                                                  "again:\n\n")
                                 : QString();
    if (!written) {
        ShowError(saved + ToQString(written.message()));
        return false;
    }
    statusBar_->ShowDone(ToQString(DescribeWrittenExport(written.value(), profile.Settings)));
    return true;
}

void frmMain::ReadExportProfile(const std::string& mapPath) {
    Result<std::optional<ExportProfile>> profile = ReadMapProfile(mapPath);
    if (!profile) {
        // The map is whole without it; the file stays until an export replaces it.
        dialogs_.Message(this,
                         ToQString(profile.message()) +
                             QStringLiteral("\n\nThe map is open without its export settings. "
                                            "OK in File > Export... replaces that file."),
                         QStringLiteral("TESSRA"), MessageIcon::Warning);
    }
    exportProfile_ = profile ? std::move(profile).value() : std::nullopt;
}

void frmMain::KeepExportProfile(const std::string& mapPath) {
    if (!exportProfile_) {
        return;
    }
    if (Status saved = SaveMapProfile(mapPath, *exportProfile_); !saved) {
        ShowError(ToQString(saved.message()) +
                  QStringLiteral("\n\nThe export settings are kept until the editor closes."));
    }
}

void frmMain::mnuBuildAll_Click() {
    const std::string mapPath = MapFilePath(state_);
    if (mapPath.empty()) {
        ShowError(QStringLiteral("Build All exports every map in the map's folder; save the map "
                                 "in that folder first."));
        return;
    }
    // The build reads the maps from their files.
    if (!MaySaveChanges()) {
        return;
    }
    const std::optional<std::string> failed = OpenToolWindow<frmBuildAll>(FolderOf(mapPath));
    if (failed && MaySaveChanges()) {
        OpenProjectFile(*failed);
    }
}

bool frmMain::MayExportOnSave(const std::string& mapPath) {
    const std::string map = WholePath(mapPath);
    ExportApprovals approvals;
    std::vector<std::string> unasked;
    for (const std::string& output : OutputsOutside(*exportProfile_, FolderOf(map))) {
        const std::optional<bool> answer = approvals.Answer(map, output);
        if (answer == false) {
            return false;
        }
        if (!answer) {
            unasked.push_back(output);
        }
    }
    if (unasked.empty()) {
        return true;
    }
    QStringList paths;
    for (const std::string& output : unasked) {
        paths << ShownFileName(output);
    }
    const YesNoAnswer answer = dialogs_.AskYesNoCancel(
        this,
        QStringLiteral("The export settings of this map write outside its folder, to:\n\n%1\n\n"
                       "Write there on every save of this map? No leaves that file alone "
                       "when the map is saved; File > Export Again still writes it.")
            .arg(paths.join(QLatin1Char('\n'))),
        QStringLiteral("TESSRA"));
    if (answer == YesNoAnswer::Cancel) {
        return false;
    }
    for (const std::string& output : unasked) {
        approvals.Remember(map, output, answer == YesNoAnswer::Yes);
    }
    return answer == YesNoAnswer::Yes;
}

void frmMain::mnuExportTiled_Click() {
    // Without every tileset, the picture would not hold the tiles the map names.
    if (!tileFailures_.empty()) {
        ShowError(QStringLiteral("A Tiled map needs every tileset of the map, and %1 could not be "
                                 "loaded. Locate it, or remove it, first.")
                      .arg(ShownFileName(tileFailures_.front().path)));
        return;
    }
    const std::optional<QString> chosen = dialogs_.SaveFile(
        this, {.title = QStringLiteral("Export Tiled Map"),
               .filter = QStringLiteral("Tiled Maps|*.tmx|Tiled JSON Maps|*.tmj|All Files|*.*|"),
               .overwritePrompt = true,
               .defaultSuffix = QStringLiteral("tmx")});
    if (!chosen) {
        return;
    }
    const std::string mapPath = MapFilePath(state_);
    const std::vector<std::string> tilesets =
        ResolveTilesetPaths(state_.Tilesets, state_.ProjectFolder);
    const std::string outPath = FileNameOf(*chosen);
    const std::string name =
        std::filesystem::path(mapPath.empty() ? outPath : mapPath).stem().string();
    if (Status written = WriteTiledMapFiles(state_.MapData, tiles_, tilesets, outPath, name);
        !written) {
        ShowError(ToQString(written.message()));
    }
}

void frmMain::mnuImportTiled_Click() {
    if (!MaySaveChanges()) {
        return;
    }
    const std::optional<QString> chosen =
        dialogs_.OpenFile(this, {.title = QStringLiteral("Import Tiled Map"),
                                 .filter = QStringLiteral("Tiled Maps|*.tmx;*.tmj|All Files|*.*|"),
                                 .defaultSuffix = {}});
    if (!chosen) {
        return;
    }
    const std::string path = WholePath(FileNameOf(*chosen));
    const Result<Bytes> bytes = ReadFileBytes(path, TiledMapLimit);
    const FileReader read = [](const std::string& file) {
        return ReadFileBytes(file, TiledMapLimit);
    };
    const Result<TiledImport> imported =
        bytes ? ImportTiledMap(bytes.value(), path, read) : Result<TiledImport>(bytes);
    if (!imported) {
        ShowError(ToQString(imported.message()));
        return;
    }
    // One step, as Import CSV is: Undo brings the map before it back whole.
    // The tilesets are listed from the Tiled map's folder, as a project saved
    // there would list them.
    UndoStep step(history_, state_, "Import Tiled Map");
    const ProjectData& project = imported.value().project;
    const std::string folder = FolderOf(path);
    static_cast<Document&>(state_) = {
        project.MapData, RelativeTilesetPaths(project.Tilesets, folder), {}, folder};
    static_cast<Selection&>(state_) = Selection{};
    BecomeUntitled(step, {.selection = true});
    QStringList lines;
    for (const std::string& line : DescribeTiledImport(imported.value())) {
        lines << ToQString(line);
    }
    dialogs_.Message(this, lines.join(QLatin1Char('\n')), QStringLiteral("TESSRA"),
                     MessageIcon::Information);
}

void frmMain::mnuTileAttributes_Click() {
    RunMapTool<frmTileAttributes>("Tile Attributes",
                                  paletteGroup_->SelectedTiles(state_.SelectedTile));
}

void frmMain::mnuShowBehaviour_Click() {
    editField_->ShowBehaviour(mnuShowBehaviour->isChecked());
}

} // namespace tessra
