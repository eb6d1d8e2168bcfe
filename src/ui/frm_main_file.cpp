#include "core/formats/project_file.h"
#include "core/model/tileset_paths.h"
#include "io/file_group.h"
#include "io/file_io.h"
#include "io/file_tile_attributes.h"
#include "io/previous_version.h"
#include "platform/dialogs.h"
#include "platform/qt_text.h"
#include "ui/frm_main.h"

#include <algorithm>
#include <string_view>

namespace tessra {

namespace {

const QString ProjectFilter = QStringLiteral("TESSRA Project Files|*.tessra|All Files|*.*|");

std::span<const std::uint8_t> ByteSpan(const std::string& bytes) {
    return {reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()};
}

bool AnyRelative(const std::vector<std::string>& tilesets) {
    return std::ranges::any_of(tilesets,
                               [](const std::string& path) { return !path.starts_with('/'); });
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

bool frmMain::OpenProjectFile(const std::string& path) {
    // The whole file is read and checked before the document is touched.
    const Result<Bytes> bytes = ReadFileBytes(path, ProjectFileLimit);
    if (!bytes) {
        ShowError(ToQString(bytes.message()));
        return false;
    }
    const std::string_view text(reinterpret_cast<const char*>(bytes.value().data()),
                                bytes.value().size());
    Result<ProjectData> project = ParseProject(text, path);
    if (!project) {
        ShowError(ToQString(project.message()));
        return false;
    }
    // The attributes are part of the document: a damaged file stops the open,
    // since a map opened without them would save zeros over them.
    const Result<TileAttributeTable> attributes =
        LoadTileAttributes(TileAttributesPath(path), MissingAttributes::AllZeros);
    if (!attributes) {
        ShowError(ToQString(attributes.message()) +
                  QStringLiteral("\n\nThe map was not opened. Mend or remove that file and "
                                 "open the map again."));
        return false;
    }
    state_.Tilesets = std::move(project.value().Tilesets);
    state_.MapData = project.value().MapData;
    state_.Attributes = attributes.value();
    state_.CurrentFileName = path;
    state_.ProjectFolder = FolderOf(state_.CurrentFileName);
    // Tile 0 and no list entry, as a pick at the palette's corner leaves them.
    static_cast<Selection&>(state_) = Selection{};
    history_.Clear();
    Refresh(
        {.cells = true, .tilesets = true, .fileName = true, .selection = true, .history = true});
    ReadExportProfile(path);
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
    // The remembered export follows the map to its new name.
    KeepExportProfile(state_.CurrentFileName);
    const std::string folder = FolderOf(state_.CurrentFileName);
    // Relative paths now name files beside the new project file.
    const bool moved = folder != state_.ProjectFolder && AnyRelative(state_.Tilesets);
    state_.ProjectFolder = folder;
    Refresh({.tilesets = moved, .fileName = true});
    return true;
}

bool frmMain::WriteProjectFile(const std::string& path) {
    // A drag in progress ends here, so the saved point covers what is written.
    DocumentChange change = history_.EndStep(state_);
    // Saved over one of its tilesets, the map would destroy its own picture.
    std::vector<std::string> tilesets;
    for (const std::string& tileset : state_.Tilesets) {
        tilesets.push_back(ResolveTilesetPath(tileset, state_.ProjectFolder));
    }
    Status written = CheckNotAnInput(path, tilesets);
    Status kept;
    if (written) {
        const std::string project = WriteProjectBytes(state_.Tilesets, state_.MapData);
        std::vector<FileContent> files{{path, ByteSpan(project)}};
        // A map without attributes gets no attributes file, unless it had one.
        const std::string attributesPath = TileAttributesPath(path);
        std::string attributes;
        if (state_.Attributes != TileAttributeTable{} || FileExists(attributesPath)) {
            attributes = WriteTileAttributesBytes(state_.Attributes);
            files.push_back({attributesPath, ByteSpan(attributes)});
        }
        kept = KeepPreviousVersion(path);
        written = WriteFilesAtomic(files);
    }
    if (written) {
        history_.MarkSaved();
        change.history = true;
    }
    Refresh(change);
    if (!written) {
        ShowError(ToQString(written.message()));
        return false;
    }
    if (!kept) {
        // Saving matters more than the copy of what it replaced.
        ShowError(QStringLiteral("The map was saved, but its previous version could not be "
                                 "kept: %1")
                      .arg(ToQString(kept.message())));
    }
    // A failed export is told, but the map is saved all the same.
    if (exportProfile_ && exportProfile_->ExportOnSave) {
        (void)WriteRememberedExport(path);
    }
    return true;
}

} // namespace tessra
