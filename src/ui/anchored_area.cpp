#include "ui/anchored_area.h"

namespace tessra {

AnchoredArea::AnchoredArea(QSize base, QWidget* parent) : QWidget(parent), base_(base) {
    setMinimumSize(base);
}

void AnchoredArea::AnchorChild(QWidget* child, Anchor anchor) {
    children_.push_back({child, anchor, child->geometry()});
}

void AnchoredArea::resizeEvent(QResizeEvent*) {
    const int dx = width() - base_.width(), dy = height() - base_.height();
    for (const Anchored& item : children_) {
        switch (item.anchor) {
        case Anchor::Right:
            item.child->setGeometry(item.base.translated(dx, 0));
            break;
        case Anchor::Bottom:
            item.child->setGeometry(item.base.translated(0, dy));
            break;
        case Anchor::Fill:
            item.child->setGeometry(item.base.adjusted(0, 0, dx, dy));
            break;
        }
    }
}

} // namespace tessra
