#include "ui/behaviour_overlay.h"

#include <QPainter>
#include <algorithm>

namespace tessra {

namespace {

// A colour for each value, so that cells of one behaviour read as one area
// before their numbers are read.
QColor BehaviourColour(int behaviour) {
    return QColor::fromHsv((behaviour * 47) % 360, 220, 200, 170);
}

} // namespace

BehaviourOverlay::BehaviourOverlay(const Document& document, QWidget* view)
    : QWidget(view), document_(document) {
    setObjectName(QStringLiteral("behaviourOverlay"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setGeometry(view->rect());
    hide();
}

void BehaviourOverlay::SetView(int cellSize, int scrollX, int scrollY) {
    cellSize_ = cellSize;
    scrollX_ = scrollX;
    scrollY_ = scrollY;
    update();
}

void BehaviourOverlay::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QFont font = painter.font();
    // Three digits fit a cell at 1x.
    font.setPixelSize(std::max(7, cellSize_ / 2));
    painter.setFont(font);
    const int columns = std::min(width() / cellSize_ + 1, MapSize - scrollX_);
    const int rows = std::min(height() / cellSize_ + 1, MapSize - scrollY_);
    for (int j = 0; j < rows; ++j) {
        for (int i = 0; i < columns; ++i) {
            const int tile = document_.MapData(scrollX_ + i, scrollY_ + j);
            const int behaviour = document_.Attributes[tile].Behaviour;
            if (behaviour == 0) {
                continue;
            }
            const QRect cell(i * cellSize_, j * cellSize_, cellSize_, cellSize_);
            painter.fillRect(cell, BehaviourColour(behaviour));
            painter.setPen(Qt::black);
            painter.drawText(cell.translated(1, 1), Qt::AlignCenter, QString::number(behaviour));
            painter.setPen(Qt::white);
            painter.drawText(cell, Qt::AlignCenter, QString::number(behaviour));
        }
    }
}

} // namespace tessra
