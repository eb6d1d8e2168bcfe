#include "ui/edit_field.h"

#include "core/render/map_view.h"
#include "ui/behaviour_overlay.h"
#include "ui/map_overlay.h"
#include "ui/picture_box.h"

#include <QApplication>
#include <QMouseEvent>
#include <QResizeEvent>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

namespace tessra {

namespace {

constexpr int ScrollBarWidth = 17;
constexpr int WheelNotch = 120; // QWheelEvent's angle for one notch

QScrollBar* AddScrollBar(QWidget* parent, const char* name, Qt::Orientation orientation,
                         QRect geometry) {
    auto* bar = new QScrollBar(orientation, parent);
    bar->setObjectName(QLatin1String(name));
    bar->setGeometry(geometry);
    bar->setSingleStep(1);
    // The view follows the thumb while it is dragged.
    bar->setTracking(true);
    return bar;
}

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

EditField::EditField(const EditorState& state, const MapSelection& selection,
                     const Surface& palette, QWidget* parent)
    : QWidget(parent), state_(state), selection_(selection), palette_(palette),
      view_(ViewWidth, ViewHeight) {
    setObjectName(QStringLiteral("editField"));
    setGeometry(0, 0, ViewWidth + ScrollBarWidth, ViewHeight + ScrollBarWidth);
    picEditField = new PictureBox(QStringLiteral("picEditField"), ViewWidth, ViewHeight, this);
    picEditField->move(0, 0);
    // No surface yet: the view stays blank until the first redraw.
    connect(picEditField, &PictureBox::MouseDown, this, &EditField::MouseDown);
    connect(picEditField, &PictureBox::MouseMove, this, &EditField::MouseMove);
    connect(picEditField, &PictureBox::MouseUp, this, &EditField::MouseUp);
    connect(picEditField, &PictureBox::MouseLeft, this, &EditField::MouseLeft);
    picEditField->installEventFilter(this);
    behaviour_ = new BehaviourOverlay(state_, picEditField);
    overlay_ = new MapOverlay(picEditField);

    scrVert = AddScrollBar(this, "scrVert", Qt::Vertical, {ViewWidth, 0, 17, ViewHeight});
    scrHoriz = AddScrollBar(this, "scrHoriz", Qt::Horizontal, {0, ViewHeight, ViewWidth, 17});
    SetScrollRanges();
    connect(scrVert, &QScrollBar::valueChanged, this, &EditField::ScrollChanged);
    connect(scrHoriz, &QScrollBar::valueChanged, this, &EditField::ScrollChanged);
}

int EditField::ScrollX() const {
    return scrHoriz->value();
}

int EditField::ScrollY() const {
    return scrVert->value();
}

void EditField::RedrawMapView() {
    // A floating block shows where it would land, as putting it down leaves the map.
    const MapGrid* shown = &state_.MapData;
    if (selection_.floating) {
        floatingShown_ = WithFloatingBlock(state_.MapData, *selection_.floating);
        shown = &floatingShown_;
    }
    tessra::RedrawMapView(*shown, palette_, state_.ZoomMode, ScrollX(), ScrollY(), view_);
    if (picEditField->surface() == nullptr) {
        picEditField->SetSurface(&view_);
    } else {
        picEditField->Refresh();
    }
    UpdateOverlay();
}

void EditField::ApplyZoom() {
    SetScrollRanges();
    RedrawMapView();
    ReportPointer();
}

void EditField::ScrollChanged() {
    RedrawMapView();
    ReportPointer();
}

void EditField::ReportPointer() {
    if (pointer_) {
        emit PointerStill(pointer_->x(), pointer_->y());
    }
}

void EditField::SetScrollRanges() {
    const ScrollLimits limits = ScrollLimitsFor(state_.ZoomMode, view_.Width(), view_.Height());
    // A smaller maximum pulls the value down with it, and that change redraws too.
    scrHoriz->setMaximum(limits.horizMax);
    scrVert->setMaximum(limits.vertMax);
    scrHoriz->setPageStep(limits.horizPage);
    scrVert->setPageStep(limits.vertPage);
}

void EditField::resizeEvent(QResizeEvent*) {
    // The view takes all but the scroll bars; never less than its first size.
    const int width = std::max(ViewWidth, this->width() - ScrollBarWidth);
    const int height = std::max(ViewHeight, this->height() - ScrollBarWidth);
    if (width == view_.Width() && height == view_.Height()) {
        return;
    }
    picEditField->setFixedSize(width, height);
    overlay_->setGeometry(picEditField->rect());
    scrVert->setGeometry(width, 0, ScrollBarWidth, height);
    scrHoriz->setGeometry(0, height, width, ScrollBarWidth);
    view_.Resize(width, height);
    SetScrollRanges();
    if (picEditField->surface() != nullptr) {
        RedrawMapView();
    }
}

void EditField::ShowOverlay(bool grid, bool exportArea) {
    grid_ = grid;
    exportArea_ = exportArea;
    UpdateOverlay();
}

void EditField::ShowBehaviour(bool shown) {
    behaviour_->setVisible(shown);
    UpdateOverlay();
}

void EditField::SetGenerationArea(int width, int height) {
    generationWidth_ = width;
    generationHeight_ = height;
    UpdateOverlay();
}

void EditField::SetExportRegion(QRect cells, qint64 bytes) {
    exportRegion_ = cells;
    exportBytes_ = bytes;
    UpdateOverlay();
}

bool EditField::eventFilter(QObject* watched, QEvent* event) {
    if (watched != picEditField) {
        return QWidget::eventFilter(watched, event);
    }
    switch (event->type()) {
    case QEvent::Wheel:
        pointer_ = static_cast<QWheelEvent*>(event)->position();
        picEditField_Wheel(static_cast<QWheelEvent*>(event));
        return true;
    case QEvent::MouseMove:
    case QEvent::MouseButtonPress:
        pointer_ = static_cast<QMouseEvent*>(event)->position();
        break;
    case QEvent::Leave:
        pointer_.reset();
        emit PointerLeft();
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void EditField::picEditField_Wheel(QWheelEvent* event) {
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
    scrHoriz->setValue(ScrollX() - across * cells);
    scrVert->setValue(ScrollY() - down * cells);
}

void EditField::ZoomAround(int zoomMode, QPointF at) {
    if (zoomMode == state_.ZoomMode) {
        return;
    }
    // The cell under the pointer stays under it, as far as the scroll bars allow.
    const double before = ZoomFor(state_.ZoomMode).cellSize;
    const double cellX = ScrollX() + at.x() / before;
    const double cellY = ScrollY() + at.y() / before;
    emit ZoomRequested(zoomMode);
    if (state_.ZoomMode != zoomMode) {
        return;
    }
    // Whole cells: the pointer's cell keeps its number, though the pointer
    // sits at another place inside it. Rounding instead could move it by one.
    const double after = ZoomFor(zoomMode).cellSize;
    scrHoriz->setValue(static_cast<int>(std::floor(cellX) - std::floor(at.x() / after)));
    scrVert->setValue(static_cast<int>(std::floor(cellY) - std::floor(at.y() / after)));
}

void EditField::ShowPreview(QRect cells) {
    if (cells != preview_) {
        preview_ = cells;
        UpdateOverlay();
    }
}

void EditField::ShowSelection() {
    UpdateOverlay();
}

QRect EditField::SelectionOutline() const {
    if (const std::optional<FloatingBlock>& floating = selection_.floating) {
        return QRect(floating->at.x, floating->at.y, floating->block.width,
                     floating->block.height) &
               QRect(0, 0, MapSize, MapSize);
    }
    const CellRect& rect = selection_.rect;
    return {rect.x, rect.y, rect.width, rect.height};
}

void EditField::ShowHighlight(std::optional<int> tile) {
    highlightTile_ = tile;
    UpdateOverlay();
}

std::vector<QPoint> EditField::HighlightedCells() const {
    std::vector<QPoint> cells;
    if (!highlightTile_) {
        return cells;
    }
    const int size = ZoomFor(state_.ZoomMode).cellSize;
    const int right = std::min(MapSize - 1, ScrollX() + (view_.Width() - 1) / size);
    const int bottom = std::min(MapSize - 1, ScrollY() + (view_.Height() - 1) / size);
    for (int y = ScrollY(); y <= bottom; ++y) {
        for (int x = ScrollX(); x <= right; ++x) {
            if (state_.MapData(x, y) == *highlightTile_) {
                cells.emplace_back(x, y);
            }
        }
    }
    return cells;
}

void EditField::ZoomAboutCentre(int zoomMode) {
    ZoomAround(zoomMode, QPointF(view_.Width() / 2.0, view_.Height() / 2.0));
}

void EditField::UpdateOverlay() {
    behaviour_->SetView(ZoomFor(state_.ZoomMode).cellSize, ScrollX(), ScrollY());
    overlay_->SetSettings({.grid = grid_,
                           .exportArea = exportArea_,
                           .cellSize = ZoomFor(state_.ZoomMode).cellSize,
                           .scrollX = ScrollX(),
                           .scrollY = ScrollY(),
                           .exportRegion = exportRegion_,
                           .exportBytes = exportBytes_,
                           .generationWidth = generationWidth_,
                           .generationHeight = generationHeight_,
                           .preview = preview_,
                           .selection = SelectionOutline(),
                           .highlight = HighlightedCells()});
}

} // namespace tessra
