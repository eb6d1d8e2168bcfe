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

// The outline of the tiles a drag across the palette selected, for the
// commands that act on several tiles; clicks pass through.
class TileRangeOutline final : public QWidget {
  public:
    explicit TileRangeOutline(QWidget* parent);

  protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace tessra
