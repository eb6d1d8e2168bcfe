#include "ui/frm_main.h"

#include "core/help_location.h"
#include "core/message_text.h"
#include "platform/dialogs.h"
#include "platform/file_tileset.h"
#include "platform/qt_text.h"
#include "ui/edit_field.h"
#include "ui/palette_group.h"

#include <QAction>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QRadioButton>
#include <QScreen>

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

} // namespace

frmMain::frmMain(Dialogs& dialogs, QWidget* parent) : QMainWindow(parent), dialogs_(dialogs) {
    setObjectName(QStringLiteral("frmMain"));
    BuildMenus();
    BuildClientArea();
    BuildKeyboard();
    setAcceptDrops(true);
    // Single border: the window keeps the size of its menu bar plus the client area.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);
    Form_Load();
    CenterOnScreen();
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
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(ClientWidth, ClientHeight);
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

    editField_ = new EditField(state_, paletteGroup_->palette(), client);
    connect(editField_, &EditField::MouseDown, this, &frmMain::picEditField_MouseDown);
    connect(editField_, &EditField::MouseMove, this, &frmMain::picEditField_MouseMove);
    connect(editField_, &EditField::MouseUp, this, &frmMain::picEditField_MouseUp);
    connect(editField_, &EditField::ZoomRequested, this,
            [this](int zoomMode) { optScaleMode[zoomMode]->setChecked(true); });

    BuildZoomFrame(client);
    BuildToolFrame(client);
    BuildCoordinateFrame(client);
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
    if (change.tilesets) {
        PaletteBuild build = ReloadTilesets(state_, paletteGroup_->palette(), LoadTileset);
        tileCounts_ = std::move(build.tileCounts);
        failures = std::move(build.failures);
        paletteGroup_->ShowTilesets(state_.Tilesets, failures);
    }
    if (change.tilesets || change.selection) {
        paletteGroup_->ShowSelection(state_);
    }
    if (change.tilesets || change.cells) {
        editField_->RedrawMapView();
    }
    if (change.fileName) {
        setWindowTitle(ToQString(WindowTitle(state_)));
    }
    if (change.history) {
        UpdateEditMenu();
    }
    if (readout) {
        lblMapCoordinate->setText(ToQString(*readout));
    }
    // Last, so that the message stands over a window that is up to date.
    ReportTilesetFailures(failures);
}

void frmMain::ReportTilesetFailures(const std::vector<TilesetFailure>& failures) {
    if (failures.empty()) {
        return;
    }
    // A project may list a million missing files: the first few say enough.
    constexpr std::size_t Listed = 10;
    QStringList lines;
    for (std::size_t i = 0; i < std::min(failures.size(), Listed); ++i) {
        lines << DescribeFailure(failures[i]);
    }
    if (failures.size() > Listed) {
        lines << QStringLiteral("and %1 more").arg(failures.size() - Listed);
    }
    const QString intro = failures.size() == 1
                              ? QStringLiteral("This tileset could not be loaded; its tiles are "
                                               "missing from the palette:")
                              : QStringLiteral("These tilesets could not be loaded; their tiles "
                                               "are missing from the palette:");
    ShowError(intro + QStringLiteral("\n\n") + lines.join(QLatin1Char('\n')));
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
