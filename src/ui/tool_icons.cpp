#include "ui/tool_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace tessra {

namespace {

const QColor Outline(40, 40, 40);

void DrawPencil(QPainter& p) {
    p.translate(16, 16);
    p.rotate(-45);
    p.setPen(QPen(Outline, 1));
    p.setBrush(QColor(250, 200, 40));
    p.drawRect(QRectF(-7, -3.5, 15, 7));
    p.setBrush(QColor(170, 170, 180));
    p.drawRect(QRectF(8, -3.5, 3, 7));
    p.setBrush(QColor(240, 130, 150));
    p.drawRoundedRect(QRectF(11, -3.5, 4, 7), 1.5, 1.5);
    p.setBrush(QColor(235, 205, 160));
    p.drawPolygon(QPolygonF({QPointF(-7, -3.5), QPointF(-14, 0), QPointF(-7, 3.5)}));
    p.setBrush(Outline);
    p.drawPolygon(QPolygonF({QPointF(-11.5, -1.2), QPointF(-14, 0), QPointF(-11.5, 1.2)}));
}

void DrawBucket(QPainter& p) {
    // Paint running off the bucket's lip.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 110, 220));
    QPainterPath paint;
    paint.moveTo(22, 10);
    paint.cubicTo(28, 12, 29, 18, 28, 24);
    paint.cubicTo(27.5, 28, 24.5, 28, 24.5, 24);
    paint.cubicTo(24.5, 20, 24, 16, 21, 14);
    paint.closeSubpath();
    p.drawPath(paint);

    p.translate(14, 17);
    p.rotate(-30);
    p.setPen(QPen(Outline, 1));
    p.setBrush(QColor(200, 205, 215));
    p.drawPolygon(QPolygonF({QPointF(-8, -6), QPointF(8, -6), QPointF(6, 9), QPointF(-6, 9)}));
    p.setBrush(QColor(40, 110, 220));
    p.drawEllipse(QRectF(-8, -8, 16, 4));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(-9, -14, 18, 14), 0, 180 * 16);
}

void DrawStamp(QPainter& p) {
    // The print: a small block of tiles.
    const QColor tiles[] = {QColor(200, 40, 40), QColor(240, 150, 40)};
    for (int i = 0; i < 4; ++i) {
        p.fillRect(QRectF(8 + 4 * (i % 4), 27, 4, 3), tiles[i % 2]);
    }
    p.setPen(QPen(Outline, 1));
    p.setBrush(QColor(150, 90, 50));
    p.drawEllipse(QRectF(11, 2, 10, 8));
    p.drawRect(QRectF(14, 9, 4, 6));
    p.setBrush(QColor(120, 120, 130));
    p.drawRoundedRect(QRectF(6, 15, 20, 6), 2, 2);
    p.setBrush(QColor(200, 40, 40));
    p.drawRect(QRectF(7, 21, 18, 3));
}

void DrawEraser(QPainter& p) {
    p.setPen(QPen(QColor(150, 150, 150), 1, Qt::DashLine));
    p.drawLine(QPointF(4, 28.5), QPointF(28, 28.5));
    p.translate(16, 15);
    p.rotate(-35);
    p.setPen(QPen(Outline, 1));
    p.setBrush(QColor(240, 130, 150));
    p.drawRoundedRect(QRectF(-12, -5, 11, 10), 2, 2);
    p.setBrush(QColor(70, 110, 200));
    p.drawRoundedRect(QRectF(-1, -5, 13, 10), 2, 2);
}

void DrawSelection(QPainter& p) {
    // A dashed rectangle of cells and the arrow that drags it.
    p.setPen(QPen(Outline, 1.5, Qt::DashLine));
    p.setBrush(QColor(120, 170, 230, 90));
    p.drawRect(QRectF(3.5, 4.5, 20, 16));
    p.setPen(QPen(Outline, 1));
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygonF({QPointF(16, 13), QPointF(16, 29), QPointF(20, 25), QPointF(23, 31),
                             QPointF(25.5, 30), QPointF(22.5, 24), QPointF(28, 24)}));
}

} // namespace

QIcon ToolIcon(Tool tool) {
    QPixmap pixmap(ToolIconSize, ToolIconSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    switch (tool) {
    case ToolDraw:
        DrawPencil(painter);
        break;
    case ToolFloodfill:
        DrawBucket(painter);
        break;
    case ToolStamp:
        DrawStamp(painter);
        break;
    case ToolErase:
        DrawEraser(painter);
        break;
    case ToolSelect:
        DrawSelection(painter);
        break;
    }
    painter.end();
    return QIcon(pixmap);
}

} // namespace tessra
