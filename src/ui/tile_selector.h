#pragma once

#include <QWidget>

namespace tessra {

// The 16 x 16 outline that marks the chosen tile over a palette picture;
// clicks pass through to the palette.
class TileSelector final : public QWidget {
  public:
    explicit TileSelector(QWidget* parent);

  protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace tessra
