#include "core/edit/tool_table.h"
#include "core/render/map_view.h"
#include "ui/edit_field.h"
#include "ui/frm_main.h"
#include "ui/main_status_bar.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace tessra {

namespace {

// The map-wide commands whose reach is worth a word.
bool ReportsChangedCells(std::string_view stepLabel) {
    constexpr std::array<std::string_view, 5> labels{"Swap", "Replace", "Tile Shift", "Map Shift",
                                                     "Fill"};
    return std::ranges::find(labels, stepLabel) != labels.end();
}

} // namespace

void frmMain::BuildStatusBar() {
    statusBar_ = new MainStatusBar(this);
    setStatusBar(statusBar_);
    connect(editField_, &EditField::MouseMove, this,
            [this](int, double X, double Y) { ShowPointedCell(X, Y); });
    connect(editField_, &EditField::PointerStill, this,
            [this](double X, double Y) { ShowPointedCell(X, Y); });
    connect(editField_, &EditField::MouseLeft, this, [this] {
        statusBar_->ShowPointedCell(std::nullopt);
        editField_->ShowPreview({});
    });
}

void frmMain::ShowPointedCell(double X, double Y) {
    const MapCell cell =
        CellUnderPoint(X, Y, state_.ZoomMode, editField_->ScrollX(), editField_->ScrollY());
    const bool onMap =
        InsideView(X, Y, editField_->ViewPixels()) && MapGrid::Contains(cell.x, cell.y);
    statusBar_->ShowPointedCell(onMap ? std::optional(MainStatusBar::PointedCell{
                                            cell.x, cell.y, state_.MapData(cell.x, cell.y)})
                                      : std::nullopt);
    // The stamp's whole footprint, where a click would put it; else the one cell.
    const bool stamp = state_.CurrentTool == ToolStamp;
    const int width = stamp ? std::clamp(StampWidth(state_), 1, StampMaxSize) : 1;
    const int height = stamp ? std::clamp(StampHeight(state_), 1, StampMaxSize) : 1;
    // Cut at the map's edge, as the stamp is.
    const QRect footprint = QRect(cell.x, cell.y, width, height) & QRect(0, 0, MapSize, MapSize);
    editField_->ShowPreview(onMap ? footprint : QRect());
}

void frmMain::ShowStatus(const DocumentChange& change) {
    statusBar_->ShowSettings(state_.SelectedTile, ZoomFor(state_.ZoomMode).caption,
                             history_.IsModified());
    if (change.cells || change.tilesets || change.selection) {
        ShowTileUsage();
    }
    if (change.changedCells > 0 && ReportsChangedCells(history_.UndoLabel())) {
        statusBar_->ShowChangedCells(history_.UndoLabel(), change.changedCells);
    }
}

} // namespace tessra
