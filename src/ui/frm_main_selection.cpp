#include "core/edit/stamp_builder.h"
#include "core/render/view_point.h"
#include "platform/qt_text.h"
#include "ui/cell_clipboard.h"
#include "ui/edit_field.h"
#include "ui/frm_main.h"

#include <QAction>

namespace tessra {

void frmMain::SelectToolAt(PointerPhase phase, double X, double Y) {
    const MapCell cell =
        CellUnderPoint(X, Y, state_.ZoomMode, editField_->ScrollX(), editField_->ScrollY());
    UndoStep step(history_, state_, SelectStepLabel(selection_));
    const SelectOutcome outcome = SelectToolEvent(selection_, state_.MapData, phase, cell);
    const DocumentChange change = step.Close();
    // A change of the cells redraws the view in Refresh.
    ShowSelection(outcome.view && !change.cells);
    Refresh(change, ReadoutAt(X, Y, state_.ZoomMode, editField_->ScrollX(), editField_->ScrollY(),
                              editField_->ViewPixels()));
}

void frmMain::ShowSelection(bool view) {
    if (view) {
        editField_->RedrawMapView();
    } else {
        editField_->ShowSelection();
    }
    const bool selected = !selection_.rect.Empty();
    for (const char* name : {"mnuCut", "mnuCopy", "mnuDelete", "mnuSelectionToStamp"}) {
        findChild<QAction*>(QLatin1String(name))->setEnabled(selected);
    }
    findChild<QAction*>(QStringLiteral("mnuDeselect"))
        ->setEnabled(selected || selection_.floating.has_value());
}

void frmMain::mnuCut_Click() {
    UndoStep step(history_, state_, "Cut");
    PutCellsOnClipboard(CutCells(state_.MapData, selection_.rect));
    Refresh(step.Close());
}

void frmMain::mnuCopy_Click() {
    PutCellsOnClipboard(CopyCells(state_.MapData, selection_.rect));
}

void frmMain::mnuPaste_Click() {
    Result<CellBlock> block = CellsOnClipboard();
    if (!block) {
        ShowError(ToQString(block.message()));
        return;
    }
    // At the pointer when it is over the view; else where the selection is,
    // or the view's top-left cell.
    MapCell at{editField_->ScrollX(), editField_->ScrollY()};
    if (const std::optional<QPointF> pointer = editField_->Pointer()) {
        at = CellUnderPoint(pointer->x(), pointer->y(), state_.ZoomMode, at.x, at.y);
    } else if (!selection_.rect.Empty()) {
        at = {selection_.rect.x, selection_.rect.y};
    }
    StartPaste(selection_, std::move(block).value(), at);
    // Put down, the block stays selected for the Select tool to drag on.
    SelectTool(ToolSelect);
    ShowSelection(true);
}

void frmMain::mnuDelete_Click() {
    UndoStep step(history_, state_, "Delete");
    ClearCells(state_.MapData, selection_.rect);
    Refresh(step.Close());
}

void frmMain::mnuSelectAll_Click() {
    selection_.anchor.reset();
    selection_.rect = WholeMap;
    ShowSelection(false);
}

void frmMain::mnuDeselect_Click() {
    const bool floating = selection_.floating.has_value();
    DropSelection(selection_);
    ShowSelection(floating);
}

void frmMain::mnuSelectionToStamp_Click() {
    const Status made = BlockToStamp(state_, CopyCells(state_.MapData, selection_.rect));
    if (!made) {
        ShowError(ToQString(made.message()));
        return;
    }
    SelectTool(ToolStamp);
}

} // namespace tessra
