#include "core/map_view.h"
#include "ui/frm_main.h"
#include "ui/map_overlay.h"
#include "ui/picture_box.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QRadioButton>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

namespace tessra {

namespace {

constexpr int WheelNotch = 120; // QWheelEvent's angle for one notch

// Cells one notch scrolls: the system's lines at 1x, fewer as cells grow.
int CellsPerNotch(int zoomMode) {
    return std::max(1, QApplication::wheelScrollLines() >> zoomMode);
}

// Whole notches out of an angle, keeping the rest for the next event.
int TakeNotches(int& angle) {
    const int notches = angle / WheelNotch;
    angle -= notches * WheelNotch;
    return notches;
}

} // namespace

void frmMain::BuildOverlay() {
    overlay_ = new MapOverlay(picEditField);
    picEditField->installEventFilter(this);
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    if (watched == picEditField && event->type() == QEvent::Wheel) {
        picEditField_Wheel(static_cast<QWheelEvent*>(event));
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmMain::picEditField_Wheel(QWheelEvent* event) {
    QPoint angle = event->angleDelta();
    const Qt::KeyboardModifiers keys = event->modifiers();
    // Some systems turn Shift+wheel into a sideways wheel themselves.
    if (keys & Qt::ShiftModifier && angle.x() == 0) {
        angle = QPoint(angle.y(), 0);
    }
    wheelRest_ += angle;
    const int across = TakeNotches(wheelRest_.rx());
    const int down = TakeNotches(wheelRest_.ry());
    if (keys & Qt::ControlModifier) {
        const int steps = across + down; // wheel up zooms in
        ZoomAround(std::clamp(state_.ZoomMode + steps, 0, 3), event->position());
        return;
    }
    const int cells = CellsPerNotch(state_.ZoomMode);
    scrHoriz->setValue(scrHoriz->value() - across * cells);
    scrVert->setValue(scrVert->value() - down * cells);
}

void frmMain::ZoomAround(int zoomMode, QPointF at) {
    if (zoomMode == state_.ZoomMode) {
        return;
    }
    // The cell under the pointer stays under it, as far as the scroll bars allow.
    const double before = ZoomFor(state_.ZoomMode).cellSize;
    const double cellX = scrHoriz->value() + at.x() / before;
    const double cellY = scrVert->value() + at.y() / before;
    optScaleMode[zoomMode]->setChecked(true);
    const double after = ZoomFor(zoomMode).cellSize;
    scrHoriz->setValue(static_cast<int>(std::lround(cellX - at.x() / after)));
    scrVert->setValue(static_cast<int>(std::lround(cellY - at.y() / after)));
}

void frmMain::UpdateOverlay() {
    if (overlay_ == nullptr || mnuShowGrid == nullptr) {
        return;
    }
    overlay_->SetSettings({.grid = mnuShowGrid->isChecked(),
                           .exportArea = mnuShowExportArea->isChecked(),
                           .cellSize = ZoomFor(state_.ZoomMode).cellSize,
                           .scrollX = scrHoriz->value(),
                           .scrollY = scrVert->value(),
                           .exportWidth = exportWidth_,
                           .exportHeight = exportHeight_});
}

} // namespace tessra
