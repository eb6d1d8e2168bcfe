#include "ui/frm_tile_usage.h"

#include "core/model/tile_usage.h"

#include <QHeaderView>
#include <QTableWidget>

namespace tessra {

namespace {

// A cell that sorts by its number, not its text.
QTableWidgetItem* NumberItem(int value) {
    auto* item = new QTableWidgetItem;
    item->setData(Qt::DisplayRole, value);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return item;
}

} // namespace

frmTileUsage::frmTileUsage(ToolWindowContext& context, QWidget* parent)
    : ToolDialog(context, parent, "frmTileUsage", QStringLiteral("Tile Usage"), {260, 400},
                 HelpTileUsageTopic) {
    lstTileUsage = new QTableWidget(TileCount, 2, this);
    lstTileUsage->setObjectName(QStringLiteral("lstTileUsage"));
    lstTileUsage->setGeometry(8, 8, 244, 384);
    lstTileUsage->setHorizontalHeaderLabels({QStringLiteral("Tile"), QStringLiteral("Cells")});
    lstTileUsage->verticalHeader()->hide();
    lstTileUsage->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    lstTileUsage->setSelectionBehavior(QAbstractItemView::SelectRows);
    lstTileUsage->setSelectionMode(QAbstractItemView::SingleSelection);
    const std::array<int, TileCount> counts = CountTileUsage(context.state.MapData);
    for (int tile = 0; tile < TileCount; ++tile) {
        lstTileUsage->setItem(tile, 0, NumberItem(tile));
        lstTileUsage->setItem(tile, 1, NumberItem(counts[tile]));
    }
    // The first click on Cells puts the most used tiles first.
    lstTileUsage->horizontalHeaderItem(1)->setData(Qt::InitialSortOrderRole, Qt::DescendingOrder);
    lstTileUsage->setSortingEnabled(true);
    lstTileUsage->sortByColumn(0, Qt::AscendingOrder);
    connect(lstTileUsage, &QTableWidget::cellDoubleClicked, this, [this](int row, int) {
        chosen_ = lstTileUsage->item(row, 0)->data(Qt::DisplayRole).toInt();
        accept();
    });
}

} // namespace tessra
