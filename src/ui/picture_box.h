#pragma once

#include "core/render/surface.h"

#include <QWidget>

namespace tessra {

// A picture control: shows a Surface at its own size, without copying it, and
// reports mouse presses, moves and releases with the button value the editor's
// handlers expect (1 left, 2 right, 4 middle; a move sends the buttons held).
class PictureBox : public QWidget {
    Q_OBJECT

  public:
    PictureBox(const QString& objectName, int width, int height, QWidget* parent = nullptr);

    // The surface to show; it must outlive this box or be replaced first.
    void SetSurface(const Surface* surface);
    const Surface* surface() const { return surface_; }

    // Repaints after the surface changed.
    void Refresh() { update(); }

    static int ButtonValue(Qt::MouseButtons buttons);

  signals:
    void MouseDown(int button, double x, double y);
    void MouseMove(int button, double x, double y);
    void MouseUp(int button, double x, double y);
    void MouseLeft();

  protected:
    void leaveEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    const Surface* surface_ = nullptr;
};

} // namespace tessra
