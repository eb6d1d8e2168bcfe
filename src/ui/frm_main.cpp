#include "ui/frm_main.h"

#include "core/help_location.h"
#include "core/map_view.h"
#include "platform/dialogs.h"
#include "platform/qt_text.h"
#include "ui/picture_box.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLayout>
#include <QListWidget>
#include <QScreen>

namespace tessra {

namespace {

constexpr const char* ProgramTitle = "TESSRA";

} // namespace

frmMain::frmMain(Dialogs& dialogs, QWidget* parent)
    : QMainWindow(parent), dialogs_(dialogs), palette_(PaletteWidth, PaletteHeight),
      view_(ViewWidth, ViewHeight), preview_(4 * TileSize, 4 * TileSize) {
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

void frmMain::BuildClientArea() {
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(ClientWidth, ClientHeight);
    // Controls sit at fixed pixel positions, so the frames draw their line
    // through the caption and leave their inside to the controls.
    client->setStyleSheet(QStringLiteral(
        "QGroupBox { border: 1px solid palette(mid); border-radius: 2px; margin-top: 6px; }"
        "QGroupBox::title { subcontrol-origin: margin; left: 6px; padding: 0 2px; }"));
    BuildMapView(client);
    BuildZoomFrame(client);
    BuildToolFrame(client);
    BuildPaletteFrame(client);
    BuildTilesetCommands();
    BuildOverlay();
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
    SetTitle();
    SetPaletteCaption();
    UpdateEditMenu();
}

void frmMain::SetTitle() {
    setWindowTitle(ToQString(WindowTitle(state_)));
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

void frmMain::ShowError(const QString& text) {
    dialogs_.Message(this, text, QLatin1String(ProgramTitle), MessageIcon::Critical);
}

void frmMain::ActOnToolResult(std::string_view word) {
    if (word == "LOAD") {
        state_.CurrentFileName = UntitledFileName;
        RedrawMapView();
        SetTitle();
    } else if (word == "SWAP") {
        RedrawMapView();
    } else if (word == "NEW") {
        // Only an emptied list changes the palette.
        if (lstTilesets->count() != static_cast<int>(state_.Tilesets.size())) {
            RebuildPalette(-1);
        } else {
            RedrawMapView();
        }
        SetTitle();
    }
}

} // namespace tessra
