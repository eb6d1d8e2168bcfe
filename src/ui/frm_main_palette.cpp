#include "core/message_text.h"
#include "core/tools.h"
#include "platform/dialogs.h"
#include "platform/file_io.h"
#include "platform/file_tileset.h"
#include "platform/qt_text.h"
#include "ui/frm_main.h"
#include "ui/picture_box.h"
#include "ui/tile_selector.h"

#include <QGroupBox>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>
#include <algorithm>

namespace tessra {

namespace {

constexpr int PreviewSize = 4 * TileSize;

QPushButton* AddButton(QWidget* frame, const char* name, const char* caption, int y) {
    auto* button = new QPushButton(QString::fromUtf8(caption), frame);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(216, y, 49, 17);
    return button;
}

QString DescribeFailure(const TilesetFailure& failure) {
    const QString path = ToQString(Shortened(failure.path));
    const QString reason = ToQString(failure.message);
    // File errors already name the file.
    return reason.contains(path) ? reason : path + QStringLiteral(": ") + reason;
}

} // namespace

Result<Surface> frmMain::LoadTilesetPicture(const std::string& path) {
    return tessra::LoadTilesetPicture(path);
}

void frmMain::BuildPaletteFrame(QWidget* client) {
    // Two tile rows taller than 321, so the palette holds all 16 rows and
    // every tile number has a square.
    Frame1 = new QGroupBox(client);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setGeometry(536, 96, 273, 321 + PaletteHeight - 224);

    picTileTexture =
        new PictureBox(QStringLiteral("picTileTexture"), PreviewSize, PreviewSize, Frame1);
    picTileTexture->move(8, 16);
    picTileTexture->SetSurface(&preview_);

    lstTilesets = new QListWidget(Frame1);
    lstTilesets->setObjectName(QStringLiteral("lstTilesets"));
    lstTilesets->setGeometry(80, 16, 129, 67);
    connect(lstTilesets, &QListWidget::itemSelectionChanged, this, &frmMain::lstTilesets_Click);

    cmdAddTileset = AddButton(Frame1, "cmdAddTileset", "Add", 16);
    cmdDelTileset = AddButton(Frame1, "cmdDelTileset", "Del", 32);
    cmdMoveUp = AddButton(Frame1, "cmdMoveUp", "Up", 48);
    cmdMoveDown = AddButton(Frame1, "cmdMoveDown", "Down", 64);
    for (QPushButton* button : {cmdDelTileset, cmdMoveUp, cmdMoveDown}) {
        button->setEnabled(false);
    }
    connect(cmdAddTileset, &QPushButton::clicked, this, &frmMain::cmdAddTileset_Click);

    picTileset = new PictureBox(QStringLiteral("picTileset"), PaletteWidth, PaletteHeight, Frame1);
    picTileset->move(8, 88);
    picTileset->SetSurface(&palette_);
    connect(picTileset, &PictureBox::MouseUp, this, &frmMain::picTileset_MouseUp);

    imgTileSelector = new TileSelector(picTileset);
    imgTileSelector->move(0, 0);
}

void frmMain::cmdAddTileset_Click() {
    const std::optional<QString> chosen =
        dialogs_.OpenFile(this, {.title = QStringLiteral("Import PCX File"),
                                 .filter = QStringLiteral("PCX Files|*.pcx|All Files|*.*|"),
                                 .defaultSuffix = {}});
    if (!chosen) {
        return;
    }
    const std::string path = FileNameOf(*chosen);
    if (std::ranges::find(state_.Tilesets, path) != state_.Tilesets.end()) {
        ShowError(QStringLiteral("That tileset is already loaded."));
        return;
    }
    history_.Record(state_, "Add Tileset", [&] { state_.Tilesets.push_back(path); });
    lstTilesets->addItem(*chosen);
    lstTilesets_Click();
    const std::vector<TilesetFailure> failures = ReloadTilesets();
    picTileset_MouseUp(1, 1, 1);
    RedrawMapView();
    UpdateEditMenu();
    ReportTilesetFailures(failures);
}

void frmMain::RebuildPalette(int selectRow) {
    FillTilesetList();
    lstTilesets->setCurrentRow(selectRow);
    lstTilesets_Click();
    const std::vector<TilesetFailure> failures = ReloadTilesets();
    // The selected number stays; its square may now show another picture.
    const int tile = state_.SelectedTile;
    picTileset_MouseUp(LeftButton, TileLeft(tile), TileTop(tile));
    RedrawMapView();
    ReportTilesetFailures(failures);
}

void frmMain::lstTilesets_Click() {
    // The buttons follow the selection, whatever changed it.
    const int count = lstTilesets->count();
    int selected = lstTilesets->currentRow();
    if (selected >= 0 && !lstTilesets->currentItem()->isSelected()) {
        selected = -1;
    }
    cmdDelTileset->setEnabled(selected >= 0);
    cmdMoveUp->setEnabled(selected > 0);
    cmdMoveDown->setEnabled(selected >= 0 && selected < count - 1);
    mnuLocateTileset->setEnabled(selected >= 0);
    lstTilesets->setToolTip(selected >= 0 ? lstTilesets->currentItem()->text() : QString());
}

void frmMain::picTileset_MouseUp(int, double X, double Y) {
    const PaletteCell cell = TileAtPalettePoint(X, Y);
    // Far below the palette there is no tile number to select.
    if (!IsTileNumber(cell.tile)) {
        return;
    }
    state_.SelectedTile = static_cast<std::int16_t>(cell.tile);
    const int left = TileSize * cell.column, top = TileSize * cell.row;
    imgTileSelector->move(left, top);
    StretchBlt(preview_, 0, 0, PreviewSize, PreviewSize, palette_, left, top, TileSize, TileSize);
    SetPaletteCaption();
    picTileTexture->Refresh();
}

std::vector<TilesetFailure> frmMain::ReloadTilesets() {
    std::vector<TilesetFailure> failures =
        tessra::ReloadTilesets(state_, palette_, LoadTilesetPicture);
    picTileset->Refresh();
    MarkMissingTilesets();
    return failures;
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

void frmMain::FillTilesetList() {
    const QSignalBlocker quiet(lstTilesets);
    lstTilesets->clear();
    for (const std::string& path : state_.Tilesets) {
        lstTilesets->addItem(ShownFileName(path));
    }
    lstTilesets_Click();
}

void frmMain::SetPaletteCaption() {
    Frame1->setTitle(QStringLiteral("Tile Palette: ID %1").arg(state_.SelectedTile));
}

} // namespace tessra
