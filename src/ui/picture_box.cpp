#include "ui/picture_box.h"

#include <QImage>
#include <QMouseEvent>
#include <QPainter>

namespace tessra {

PictureBox::PictureBox(const QString& objectName, int width, int height, QWidget* parent)
    : QWidget(parent) {
    setObjectName(objectName);
    setFixedSize(width, height);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
}

void PictureBox::SetSurface(const Surface* surface) {
    surface_ = surface;
    update();
}

int PictureBox::ButtonValue(Qt::MouseButtons buttons) {
    int value = 0;
    if (buttons & Qt::LeftButton) {
        value |= 1;
    }
    if (buttons & Qt::RightButton) {
        value |= 2;
    }
    if (buttons & Qt::MiddleButton) {
        value |= 4;
    }
    return value;
}

void PictureBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    if (surface_ == nullptr || surface_->Width() == 0 || surface_->Height() == 0) {
        return;
    }
    // Wraps the pixels in place: the surface's layout is RGBX8888 on little-endian machines.
    const QImage image(reinterpret_cast<const uchar*>(surface_->data()), surface_->Width(),
                       surface_->Height(), surface_->Width() * static_cast<int>(sizeof(Pixel)),
                       QImage::Format_RGBX8888);
    painter.drawImage(0, 0, image);
}

void PictureBox::leaveEvent(QEvent*) {
    emit MouseLeft();
}

void PictureBox::mousePressEvent(QMouseEvent* event) {
    const QPointF p = event->position();
    emit MouseDown(ButtonValue(event->button()), p.x(), p.y());
}

void PictureBox::mouseMoveEvent(QMouseEvent* event) {
    const QPointF p = event->position();
    emit MouseMove(ButtonValue(event->buttons()), p.x(), p.y());
}

void PictureBox::mouseReleaseEvent(QMouseEvent* event) {
    const QPointF p = event->position();
    emit MouseUp(ButtonValue(event->button()), p.x(), p.y());
}

} // namespace tessra
