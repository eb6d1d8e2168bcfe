#include "ui/map_overlay.h"

#include "core/model/map_grid.h"
#include "core/render/overlay_label.h"

#include <QLocale>
#include <QPainter>
#include <algorithm>

namespace tessra {

namespace {

// Grid lines darken light tiles and lighten dark ones without hiding either.
const QColor GridColour(0, 0, 0, 80);
const QColor GridHighlight(255, 255, 255, 40);
const QColor ExportColour(255, 200, 0);
constexpr int LabelMargin = 4;

} // namespace

QString ExportAreaText(int width, int height) {
    return QStringLiteral("%1 x %2 = %3 bytes")
        .arg(width)
        .arg(height)
        .arg(QLocale(QLocale::English).toString(static_cast<qlonglong>(width) * height));
}

MapOverlay::MapOverlay(QWidget* view) : QWidget(view) {
    setObjectName(QStringLiteral("mapOverlay"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setGeometry(view->rect());
    hide();
}

void MapOverlay::SetSettings(const OverlaySettings& settings) {
    OverlaySettings others = settings;
    others.preview = settings_.preview;
    const bool onlyPreview = others == settings_;
    const QRect before = PreviewArea();
    settings_ = settings;
    setVisible(settings.grid || settings.exportArea || !settings.preview.isEmpty() ||
               !settings.highlight.empty());
    // The pointer moving over a large view repaints two cells, not the view.
    if (onlyPreview) {
        update(QRegion(before) + PreviewArea());
    } else {
        update();
    }
}

void MapOverlay::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (settings_.grid) {
        DrawGrid(painter);
    }
    if (settings_.exportArea) {
        DrawExportArea(painter);
    }
    if (!settings_.highlight.empty()) {
        DrawHighlight(painter);
    }
    if (!settings_.preview.isEmpty()) {
        DrawPreview(painter);
    }
}

void MapOverlay::DrawHighlight(QPainter& painter) const {
    const int size = settings_.cellSize;
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(0, 220, 255), 2));
    for (const QPoint& cell : settings_.highlight) {
        const QRect area((cell.x() - settings_.scrollX) * size,
                         (cell.y() - settings_.scrollY) * size, size, size);
        painter.drawRect(area.adjusted(1, 1, -1, -1));
    }
}

QRect MapOverlay::PreviewArea() const {
    const int size = settings_.cellSize;
    const QRect cells = settings_.preview;
    return {(cells.x() - settings_.scrollX) * size, (cells.y() - settings_.scrollY) * size,
            cells.width() * size, cells.height() * size};
}

void MapOverlay::DrawPreview(QPainter& painter) const {
    const QRect area = PreviewArea();
    // A light line inside a dark one shows on any tile.
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(0, 0, 0, 160), 1));
    painter.drawRect(area.adjusted(0, 0, -1, -1));
    painter.setPen(QPen(QColor(255, 255, 255, 220), 1));
    painter.drawRect(area.adjusted(1, 1, -2, -2));
}

void MapOverlay::DrawGrid(QPainter& painter) const {
    const int size = settings_.cellSize;
    // Lines run along the left and top edge of every cell inside the map.
    const int right = std::min(width(), (MapSize - settings_.scrollX) * size);
    const int bottom = std::min(height(), (MapSize - settings_.scrollY) * size);
    for (int x = 0; x < right; x += size) {
        painter.fillRect(x, 0, 1, bottom, GridColour);
        painter.fillRect(x + 1, 0, 1, bottom, GridHighlight);
    }
    for (int y = 0; y < bottom; y += size) {
        painter.fillRect(0, y, right, 1, GridColour);
        painter.fillRect(0, y + 1, right, 1, GridHighlight);
    }
}

void MapOverlay::DrawExportArea(QPainter& painter) {
    const int size = settings_.cellSize;
    const QRect area(-settings_.scrollX * size, -settings_.scrollY * size,
                     settings_.exportWidth * size, settings_.exportHeight * size);
    // Shade what lies outside the block, then outline it.
    const QRegion outside = QRegion(rect()).subtracted(QRegion(area));
    for (const QRect& part : outside) {
        painter.fillRect(part, QColor(0, 0, 0, 110));
    }
    painter.setPen(QPen(ExportColour, 2));
    painter.drawRect(area.adjusted(1, 1, -1, -1));

    // The size, beside the block where it covers none of the exported cells.
    const QString text = ExportAreaText(settings_.exportWidth, settings_.exportHeight);
    const QRect box = painter.fontMetrics().boundingRect(text).adjusted(-4, -2, 4, 2);
    const PixelRect place = PlaceBlockLabel({0, 0, width(), height()},
                                            {area.left(), area.top(), area.width(), area.height()},
                                            box.width(), box.height(), LabelMargin);
    const QRect label(place.left, place.top, place.width, place.height);
    label_ = label;
    painter.fillRect(label, QColor(0, 0, 0, 170));
    painter.setPen(ExportColour);
    painter.drawText(label, Qt::AlignCenter, text);
}

} // namespace tessra
