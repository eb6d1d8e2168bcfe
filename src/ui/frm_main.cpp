#include "ui/frm_main.h"

#include "core/base/message_text.h"
#include "core/help_location.h"
#include "io/file_tileset.h"
#include "platform/dialogs.h"
#include "platform/qt_text.h"
#include "platform/recovery_store.h"
#include "ui/anchored_area.h"
#include "ui/edit_field.h"
#include "ui/palette_group.h"

#include <QAction>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QRadioButton>
#include <QScreen>
#include <unordered_set>

namespace tessra {

namespace {

constexpr const char* ProgramTitle = "TESSRA";

// "&Undo Fill" for a step labelled "Fill".
QString StepCaption(const char* command, const std::string& label) {
    const QString caption = QLatin1String(command);
    return label.empty() ? caption : caption + QLatin1Char(' ') + ToQString(label);
}

QString DescribeFailure(const TilesetFailure& failure) {
    const QString path = ToQString(Shortened(failure.path));
    const QString reason = ToQString(failure.message);
    // File errors already name the file.
    return reason.contains(path) ? reason : path + QStringLiteral(": ") + reason;
}

// The first lines of a long list, and how many more there are.
QStringList FirstFew(QStringList lines) {
    const QString more = ToQString(MoreThanFirstFew(lines.size()));
    if (!more.isEmpty()) {
        lines.resize(FirstFewCount);
        lines << more;
    }
    return lines;
}

} // namespace

frmMain::frmMain(Dialogs& dialogs, QWidget* parent) : QMainWindow(parent), dialogs_(dialogs) {
    setObjectName(QStringLiteral("frmMain"));
    BuildMenus();
    BuildClientArea();
    BuildKeyboard();
    BuildRecentMenu();
    BuildTileUsage();
    BuildBudgetPanel();
    BuildZoomKeys();
    BuildStatusBar();
    BuildExportArea();
    StartRecovery();
    StartWatchingTilesets();
    setAcceptDrops(true);
    Form_Load();
    CenterOnScreen();
    RestoreGeometry();
}

frmMain::~frmMain() = default;

const Surface& frmMain::palette() const {
    return paletteGroup_->palette();
}

const Surface& frmMain::view() const {
    return editField_->view();
}

const Surface& frmMain::preview() const {
    return paletteGroup_->preview();
}

void frmMain::BuildClientArea() {
    auto* client = new AnchoredArea(QSize(ClientWidth, ClientHeight), this);
    client->setObjectName(QStringLiteral("client"));
    // Controls sit at fixed pixel positions, so the frames draw their line
    // through the caption and leave their inside to the controls.
    client->setStyleSheet(QStringLiteral(
        "QGroupBox { border: 1px solid palette(mid); border-radius: 2px; margin-top: 6px; }"
        "QGroupBox::title { subcontrol-origin: margin; left: 6px; padding: 0 2px; }"));

    paletteGroup_ = new PaletteGroup(client);
    connect(paletteGroup_, &PaletteGroup::AddClicked, this, &frmMain::cmdAddTileset_Click);
    connect(paletteGroup_, &PaletteGroup::RemoveClicked, this,
            [this] { EditTileset(TilesetEdit::Remove); });
    connect(paletteGroup_, &PaletteGroup::MoveUpClicked, this,
            [this] { EditTileset(TilesetEdit::MoveUp); });
    connect(paletteGroup_, &PaletteGroup::MoveDownClicked, this,
            [this] { EditTileset(TilesetEdit::MoveDown); });
    connect(paletteGroup_, &PaletteGroup::LocateChosen, this, &frmMain::mnuLocateTileset_Click);
    connect(paletteGroup_, &PaletteGroup::TilePicked, this, &frmMain::SelectTile);
    connect(paletteGroup_, &PaletteGroup::TilesetSelected, this, &frmMain::SelectTileset);

    editField_ = new EditField(state_, selection_, paletteGroup_->palette(), client);
    connect(editField_, &EditField::MouseDown, this, &frmMain::picEditField_MouseDown);
    connect(editField_, &EditField::MouseMove, this, &frmMain::picEditField_MouseMove);
    connect(editField_, &EditField::MouseUp, this, &frmMain::picEditField_MouseUp);
    connect(editField_, &EditField::ZoomRequested, this,
            [this](int zoomMode) { optScaleMode[zoomMode]->setChecked(true); });
    connect(editField_, &EditField::PointerStill, this,
            [this](double X, double Y) { ShowCellUnderPointer(QPointF(X, Y)); });
    connect(editField_, &EditField::PointerLeft, this,
            [this] { ShowCellUnderPointer(std::nullopt); });

    BuildZoomFrame(client);
    BuildToolFrame(client);
    BuildCoordinateFrame(client);
    // Larger than its first size, the map view takes the room.
    client->AnchorChild(editField_, AnchoredArea::Anchor::Fill);
    client->AnchorChild(Frame3, AnchoredArea::Anchor::Right);
    client->AnchorChild(paletteGroup_, AnchoredArea::Anchor::Right);
    client->AnchorChild(Frame2, AnchoredArea::Anchor::Bottom);
    client->AnchorChild(Frame4, AnchoredArea::Anchor::Bottom);
    setCentralWidget(client);
}

void frmMain::Form_Load() {
    QString appPath = QCoreApplication::applicationDirPath();
    if (!appPath.endsWith(QLatin1Char('/'))) {
        appPath += QLatin1Char('/');
    }
    state_.AppPath = ToStdString(appPath);
    const std::filesystem::path programDir = ToStdString(appPath);
    HelpViewer.HelpFile(ToQString(
        FindHelpCollection(programDir).value_or(programDir / HelpCollectionName).string()));
    state_.CurrentFileName = UntitledFileName;
    Refresh({.fileName = true, .selection = true, .history = true});
    ShowSelection(false);
}

void frmMain::CenterOnScreen() {
    adjustSize();
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return;
    }
    QRect frame = frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
}

Result<Surface> frmMain::LoadTileset(const std::string& path) {
    return LoadTilesetPicture(path);
}

void frmMain::ShowError(const QString& text) {
    dialogs_.Message(this, text, QLatin1String(ProgramTitle), MessageIcon::Critical);
}

void frmMain::Refresh(const DocumentChange& change, const std::optional<std::string>& readout) {
    std::vector<TilesetFailure> failures;
    std::vector<std::string> notes; // of pictures that load but lose tiles or colours
    if (change.tilesets) {
        // A tileset that went missing keeps its tiles' numbers while the list
        // stays as it was; removing it, or opening the map again, renumbers.
        const bool sameList =
            state_.Tilesets == countedTilesets_ && state_.ProjectFolder == countedFolder_;
        PaletteBuild build = BuildShownPalette(
            state_, tiles_, paletteGroup_->palette(),
            [&notes](const std::string& path) { return LoadTilesetPicture(path, &notes); },
            CountTilesetTiles,
            sameList ? std::span<const int>(tileCounts_) : std::span<const int>());
        tileCounts_ = std::move(build.tileCounts);
        countedTilesets_ = state_.Tilesets;
        countedFolder_ = state_.ProjectFolder;
        failures = std::move(build.failures);
        tileFailures_ = failures;
        if (!build.leftOut.empty()) {
            notes.push_back(LeftOutMessage(build.leftOut));
        }
        paletteGroup_->ShowTilesets(state_.Tilesets, failures);
        WatchTilesets();
    }
    if (change.tilesets || change.selection) {
        paletteGroup_->ShowSelection(state_);
    }
    if (change.tilesets || change.cells) {
        editField_->RedrawMapView();
        // The cell under a still pointer may hold another tile now.
        if (const std::optional<QPointF> pointer = editField_->Pointer()) {
            ShowPointedCell(pointer->x(), pointer->y());
        }
    }
    if (change.fileName) {
        setWindowTitle(ToQString(WindowTitle(state_)));
        RememberRecentFile();
    }
    if (change.history) {
        UpdateEditMenu();
    }
    if (change.cells || change.tilesets) {
        ShowExportAreaSoon();
    }
    if (readout) {
        lblMapCoordinate->setText(ToQString(*readout));
    }
    ShowStatus(change);
    ScheduleBudget(change);
    UpdateRecoveryCopy(change);
    // Last, so that the message stands over a window that is up to date.
    if (change.tilesets) {
        ReportTilesetProblems(failures, notes);
    }
}

void frmMain::ReportTilesetProblems(const std::vector<TilesetFailure>& failures,
                                    const std::vector<std::string>& notes) {
    // Each problem is told once, when it first appears, not on every rebuild
    // while it lasts; the list keeps marking a failed entry meanwhile. Kept
    // as hashes: a project may list a million missing files.
    std::unordered_set<std::size_t> now;
    QStringList lines, newNotes;
    const auto sort = [&](const QString& line, QStringList& fresh) {
        const std::size_t key = qHash(line);
        if (now.insert(key).second && !reported_.contains(key)) {
            fresh << line;
        }
    };
    for (const TilesetFailure& failure : failures) {
        sort(DescribeFailure(failure), lines);
    }
    for (const std::string& note : notes) {
        sort(ToQString(note), newNotes);
    }
    reported_ = std::move(now);
    // A change on disk is taken in without a word; the list marks a failure.
    if (!reportTilesetFailures_) {
        return;
    }
    const qsizetype failed = lines.size();
    if (!newNotes.isEmpty()) {
        dialogs_.Message(this, FirstFew(newNotes).join(QStringLiteral("\n\n")),
                         QLatin1String(ProgramTitle), MessageIcon::Warning);
    }
    if (failed == 0) {
        return;
    }
    const QString intro = failed == 1
                              ? QStringLiteral("This tileset could not be loaded; its tiles are "
                                               "missing from the palette:")
                              : QStringLiteral("These tilesets could not be loaded; their tiles "
                                               "are missing from the palette:");
    ShowError(intro + QStringLiteral("\n\n") + FirstFew(lines).join(QLatin1Char('\n')));
}

void frmMain::UpdateEditMenu() {
    mnuUndo->setEnabled(history_.CanUndo());
    mnuRedo->setEnabled(history_.CanRedo());
    mnuUndo->setText(StepCaption("&Undo", history_.UndoLabel()));
    mnuRedo->setText(StepCaption("&Redo", history_.RedoLabel()));
}

void frmMain::SelectTile(int tile) {
    state_.SelectedTile = static_cast<std::int16_t>(tile);
    Refresh({.selection = true});
}

void frmMain::SelectTileset(int row) {
    state_.SelectedTileset = row;
    Refresh({.selection = true});
}

void frmMain::RedrawMapView() {
    Refresh({.cells = true});
}

} // namespace tessra
