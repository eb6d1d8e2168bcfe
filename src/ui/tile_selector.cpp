#include "ui/tile_selector.h"

#include "core/render/palette_build.h"

#include <QPainter>

namespace tessra {

TileSelector::TileSelector(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("imgTileSelector"));
    setFixedSize(TileSize, TileSize);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void TileSelector::paintEvent(QPaintEvent*) {
    // White under black dots shows on light and dark tiles alike.
    QPainter painter(this);
    const QRect box = rect().adjusted(0, 0, -1, -1);
    painter.setPen(Qt::white);
    painter.drawRect(box);
    painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
    painter.drawRect(box);
}

TileRangeOutline::TileRangeOutline(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("imgTileRange"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide();
}

void TileRangeOutline::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect box = rect().adjusted(0, 0, -1, -1);
    painter.setPen(Qt::black);
    painter.drawRect(box);
    painter.setPen(QPen(Qt::yellow, 1, Qt::DashLine));
    painter.drawRect(box);
}

} // namespace tessra
