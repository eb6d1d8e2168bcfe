#pragma once

#include "core/model/document.h"

#include <QWidget>

namespace tessra {

// View > Show Behaviour: each visible cell's behaviour number, from its tile's
// attributes, drawn over the map view when the screen is painted, so that
// neither the map nor the view's picture holds it. Cells whose behaviour is 0,
// most of any map, are left clear. Mouse events pass through to the view.
class BehaviourOverlay final : public QWidget {
    Q_OBJECT

  public:
    BehaviourOverlay(const Document& document, QWidget* view);

    // Where the view stands: pixels per cell and the cell at its top-left corner.
    void SetView(int cellSize, int scrollX, int scrollY);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    const Document& document_;
    int cellSize_ = 16;
    int scrollX_ = 0;
    int scrollY_ = 0;
};

} // namespace tessra
