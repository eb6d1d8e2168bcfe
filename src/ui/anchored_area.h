#pragma once

#include <QRect>
#include <QWidget>
#include <vector>

namespace tessra {

// The main window's client area: laid out at fixed pixel positions for its
// first size, it lets each anchored child follow the right edge, the bottom
// edge, or stretch with both when the window grows. It never gets smaller
// than that first size.
class AnchoredArea : public QWidget {
  public:
    enum class Anchor { Right, Bottom, Fill };

    AnchoredArea(QSize base, QWidget* parent);

    // Keeps the child's present geometry as its place at the first size.
    void AnchorChild(QWidget* child, Anchor anchor);

    QSize sizeHint() const override { return base_; }

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    struct Anchored {
        QWidget* child;
        Anchor anchor;
        QRect base;
    };
    QSize base_;
    std::vector<Anchored> children_;
};

} // namespace tessra
