#include "ui/map_overlay.h"

#include "core/model/map_grid.h"
#include "core/render/overlay_label.h"

#include <QLocale>
#include <QPainter>
#include <QTimer>
#include <algorithm>

namespace tessra {

namespace {

// Grid lines darken light tiles and lighten dark ones without hiding either.
const QColor GridColour(0, 0, 0, 80);
const QColor GridHighlight(255, 255, 255, 40);
const QColor ExportColour(255, 200, 0);
const QColor GenerationColour(80, 220, 255);
constexpr int LabelMargin = 4;
constexpr int AntsMilliseconds = 120;
constexpr int AntsDash = 4; // pixels of each colour

} // namespace

QString ExportRegionText(QRect region, qint64 bytes) {
    QString text = QStringLiteral("Export %1,%2 %3 \u00d7 %4")
                       .arg(region.x())
                       .arg(region.y())
                       .arg(region.width())
                       .arg(region.height());
    if (bytes >= 0) {
        text += QStringLiteral(": %1 bytes").arg(QLocale(QLocale::English).toString(bytes));
    }
    return text;
}

QString GenerationAreaText(int width, int height) {
    return QStringLiteral("Map Generation %1 \u00d7 %2").arg(width).arg(height);
}

MapOverlay::MapOverlay(QWidget* view) : QWidget(view) {
    setObjectName(QStringLiteral("mapOverlay"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setGeometry(view->rect());
    hide();
    ants_ = new QTimer(this);
    ants_->setInterval(AntsMilliseconds);
    connect(ants_, &QTimer::timeout, this, &MapOverlay::MarchAnts);
}

void MapOverlay::SetSettings(const OverlaySettings& settings) {
    if (settings == settings_) {
        return; // nothing to paint again
    }
    OverlaySettings others = settings;
    others.preview = settings_.preview;
    const bool onlyPreview = others == settings_;
    const QRect before = PreviewArea();
    settings_ = settings;
    const bool selected = !settings.selection.isEmpty();
    setVisible(settings.grid || settings.exportArea || !settings.preview.isEmpty() ||
               !settings.highlight.empty() || selected);
    if (selected != ants_->isActive()) {
        if (selected) {
            ants_->start();
        } else {
            ants_->stop();
        }
    }
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
    if (!settings_.selection.isEmpty()) {
        DrawSelection(painter);
    }
    if (!settings_.preview.isEmpty()) {
        DrawPreview(painter);
    }
}

QRect MapOverlay::SelectionArea() const {
    const int size = settings_.cellSize;
    const QRect cells = settings_.selection;
    return {(cells.x() - settings_.scrollX) * size, (cells.y() - settings_.scrollY) * size,
            cells.width() * size, cells.height() * size};
}

void MapOverlay::DrawSelection(QPainter& painter) const {
    // Black dashes marching over a white line show on any tile.
    const QRect line = SelectionArea().adjusted(0, 0, -1, -1);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::white, 1));
    painter.drawRect(line);
    QPen dashes(Qt::black, 1, Qt::CustomDashLine);
    dashes.setDashPattern({AntsDash, AntsDash});
    dashes.setDashOffset(antsPhase_ % (2 * AntsDash));
    painter.setPen(dashes);
    painter.drawRect(line);
}

void MapOverlay::MarchAnts() {
    ++antsPhase_;
    // Only the outline's ring is painted again, not the view inside it.
    const QRect area = SelectionArea();
    update(QRegion(area.adjusted(-1, -1, 1, 1)).subtracted(QRegion(area.adjusted(2, 2, -2, -2))));
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
    const QRect generation(0, 0, settings_.generationWidth, settings_.generationHeight);
    const auto pixels = [&](QRect cells) {
        const int size = settings_.cellSize;
        return QRect((cells.x() - settings_.scrollX) * size, (cells.y() - settings_.scrollY) * size,
                     cells.width() * size, cells.height() * size);
    };
    // Shade what lies outside both blocks, then outline and label each.
    const QRegion outside = QRegion(rect())
                                .subtracted(QRegion(pixels(settings_.exportRegion)))
                                .subtracted(QRegion(pixels(generation)));
    for (const QRect& part : outside) {
        painter.fillRect(part, QColor(0, 0, 0, 110));
    }
    labels_[0] = DrawBlock(painter, settings_.exportRegion, ExportColour,
                           ExportRegionText(settings_.exportRegion, settings_.exportBytes), {});
    labels_[1] = DrawBlock(painter, generation, GenerationColour,
                           GenerationAreaText(generation.width(), generation.height()), labels_[0]);
}

QRect MapOverlay::DrawBlock(QPainter& painter, QRect cells, const QColor& colour,
                            const QString& text, QRect taken) const {
    const int size = settings_.cellSize;
    const QRect area((cells.x() - settings_.scrollX) * size, (cells.y() - settings_.scrollY) * size,
                     cells.width() * size, cells.height() * size);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(colour, 2));
    painter.drawRect(area.adjusted(1, 1, -1, -1));

    // Beside the block where it covers none of its cells; above the other
    // label when both would stand in one place.
    const QRect box = painter.fontMetrics().boundingRect(text).adjusted(-4, -2, 4, 2);
    const PixelRect place = PlaceBlockLabel({0, 0, width(), height()},
                                            {area.left(), area.top(), area.width(), area.height()},
                                            box.width(), box.height(), LabelMargin);
    QRect label(place.left, place.top, place.width, place.height);
    if (label.intersects(taken)) {
        label.moveBottom(taken.top() - LabelMargin);
    }
    painter.fillRect(label, QColor(0, 0, 0, 170));
    painter.setPen(colour);
    painter.drawText(label, Qt::AlignCenter, text);
    return label;
}

} // namespace tessra
