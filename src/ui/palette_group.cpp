#include "ui/palette_group.h"

#include "core/edit/tile_attribute_edit.h"
#include "core/model/tileset_paths.h"
#include "platform/qt_text.h"
#include "ui/picture_box.h"
#include "ui/tile_selector.h"

#include <QAction>
#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyle>

namespace tessra {

namespace {

constexpr int PreviewSize = 4 * TileSize;

} // namespace

PaletteGroup::PaletteGroup(QWidget* parent)
    : QGroupBox(parent), palette_(PaletteWidth, PaletteHeight), preview_(PreviewSize, PreviewSize) {
    setObjectName(QStringLiteral("Frame1"));
    // Two tile rows taller than 321, so the palette holds all 16 rows and
    // every tile number has a square.
    setGeometry(536, 96, 273, 321 + PaletteHeight - 224);

    picTileTexture =
        new PictureBox(QStringLiteral("picTileTexture"), PreviewSize, PreviewSize, this);
    picTileTexture->move(8, 16);
    picTileTexture->SetSurface(&preview_);

    BuildList();
    cmdAddTileset = AddButton("cmdAddTileset", "Add", 16);
    cmdDelTileset = AddButton("cmdDelTileset", "Del", 32);
    cmdMoveUp = AddButton("cmdMoveUp", "Up", 48);
    cmdMoveDown = AddButton("cmdMoveDown", "Down", 64);
    connect(cmdAddTileset, &QPushButton::clicked, this, &PaletteGroup::AddClicked);
    connect(cmdDelTileset, &QPushButton::clicked, this, &PaletteGroup::RemoveClicked);
    connect(cmdMoveUp, &QPushButton::clicked, this, &PaletteGroup::MoveUpClicked);
    connect(cmdMoveDown, &QPushButton::clicked, this, &PaletteGroup::MoveDownClicked);

    picTileset = new PictureBox(QStringLiteral("picTileset"), PaletteWidth, PaletteHeight, this);
    picTileset->move(8, 88);
    picTileset->SetSurface(&palette_);
    connect(picTileset, &PictureBox::MouseDown, this, &PaletteGroup::picTileset_MouseDown);
    connect(picTileset, &PictureBox::MouseUp, this, &PaletteGroup::picTileset_MouseUp);
    imgTileRange = new TileRangeOutline(picTileset);
    imgTileSelector = new TileSelector(picTileset);
    ShowSelection({});
}

QPushButton* PaletteGroup::AddButton(const char* name, const char* caption, int y) {
    auto* button = new QPushButton(QString::fromUtf8(caption), this);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(216, y, 49, 17);
    return button;
}

void PaletteGroup::BuildList() {
    lstTilesets = new QListWidget(this);
    lstTilesets->setObjectName(QStringLiteral("lstTilesets"));
    lstTilesets->setGeometry(80, 16, 129, 67);
    connect(lstTilesets, &QListWidget::itemSelectionChanged, this,
            &PaletteGroup::lstTilesets_Click);
    // A right click selects the entry under it, then offers its commands.
    mnuLocateTileset = new QAction(QStringLiteral("&Locate..."), lstTilesets);
    mnuLocateTileset->setObjectName(QStringLiteral("mnuLocateTileset"));
    connect(mnuLocateTileset, &QAction::triggered, this, &PaletteGroup::LocateChosen);
    lstTilesets->addAction(mnuLocateTileset);
    lstTilesets->setContextMenuPolicy(Qt::ActionsContextMenu);
    // The failure mark fits a text line, so the short list keeps its three rows.
    const int mark = lstTilesets->fontMetrics().height() - 2;
    lstTilesets->setIconSize(QSize(mark, mark));
}

void PaletteGroup::ShowTilesets(const std::vector<std::string>& tilesets,
                                const std::vector<TilesetFailure>& failures) {
    const QSignalBlocker quiet(lstTilesets);
    lstTilesets->clear();
    const QIcon warning = QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning);
    // The list is narrow: each entry shows its file's name, the tip its path.
    for (const std::string& path : tilesets) {
        auto* item = new QListWidgetItem(ShownFileName(ListedName(path)), lstTilesets);
        item->setToolTip(ShownFileName(path));
    }
    // A failure adds the icon, the colour and the reason.
    for (const TilesetFailure& failure : failures) {
        if (QListWidgetItem* item = lstTilesets->item(static_cast<int>(failure.entry))) {
            item->setIcon(warning);
            item->setForeground(QBrush(Qt::darkRed));
            item->setToolTip(item->toolTip() + QLatin1Char('\n') + ToQString(failure.message));
        }
    }
    picTileset->Refresh();
}

void PaletteGroup::ShowSelection(const Selection& selection) {
    ShowSelectedEntry(selection.SelectedTileset);
    ShowSelectedTile(selection.SelectedTile);
}

void PaletteGroup::ShowSelectedEntry(int row) {
    const int count = lstTilesets->count();
    const int selected = row >= 0 && row < count ? row : -1;
    {
        const QSignalBlocker quiet(lstTilesets);
        lstTilesets->setCurrentRow(selected);
        if (selected < 0) {
            lstTilesets->clearSelection();
        }
    }
    cmdDelTileset->setEnabled(selected >= 0);
    cmdMoveUp->setEnabled(selected > 0);
    cmdMoveDown->setEnabled(selected >= 0 && selected < count - 1);
    mnuLocateTileset->setEnabled(selected >= 0);
    lstTilesets->setToolTip(selected >= 0 ? lstTilesets->item(selected)->toolTip() : QString());
}

std::vector<int> PaletteGroup::SelectedTiles(int selectedTile) const {
    if (range_ && range_->second == selectedTile) {
        return TilesInPaletteRect(range_->first, range_->second);
    }
    return {selectedTile};
}

void PaletteGroup::ShowSelectedTile(int tile) {
    if (marker_.tile != tile) {
        marker_ = {tile % PaletteColumns, tile / PaletteColumns, tile};
    }
    if (range_ && range_->second != tile) {
        range_.reset();
    }
    const std::vector<int> tiles = SelectedTiles(tile);
    imgTileRange->setVisible(tiles.size() > 1);
    if (tiles.size() > 1) {
        imgTileRange->setGeometry(QRect(
            QPoint(TileLeft(tiles.front()), TileTop(tiles.front())),
            QPoint(TileLeft(tiles.back()) + TileSize - 1, TileTop(tiles.back()) + TileSize - 1)));
    }
    const int left = TileSize * marker_.column, top = TileSize * marker_.row;
    imgTileSelector->move(left, top);
    StretchBlt(preview_, 0, 0, PreviewSize, PreviewSize, palette_, left, top, TileSize, TileSize);
    picTileTexture->Refresh();
    setTitle(QStringLiteral("Tile Palette: ID %1").arg(tile));
}

void PaletteGroup::picTileset_MouseDown(int, double X, double Y) {
    pressedTile_ = TileAtPalettePoint(X, Y).tile;
}

void PaletteGroup::picTileset_MouseUp(int, double X, double Y) {
    const PaletteCell cell = TileAtPalettePoint(X, Y);
    // Far below the palette there is no tile number to select.
    if (!IsTileNumber(cell.tile)) {
        return;
    }
    marker_ = cell;
    // Released beside the picture, the pick names a tile of another row: no rectangle.
    range_.reset();
    if (cell.column < PaletteColumns && IsTileNumber(pressedTile_)) {
        range_ = std::pair(pressedTile_, cell.tile);
    }
    emit TilePicked(cell.tile);
}

void PaletteGroup::lstTilesets_Click() {
    const QList<QListWidgetItem*> selected = lstTilesets->selectedItems();
    emit TilesetSelected(selected.isEmpty() ? -1 : lstTilesets->row(selected.front()));
}

} // namespace tessra
