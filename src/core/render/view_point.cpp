#include "core/render/view_point.h"

#include "core/render/palette_layout.h"

namespace tessra {
namespace {

std::string SignedNumberText(int value) {
    return (value >= 0 ? " " : "") + std::to_string(value);
}

} // namespace

MapCell CellUnderPoint(double X, double Y, int zoomMode, int scrollX, int scrollY) {
    const int size = ZoomFor(zoomMode).cellSize;
    return {scrollX + FloorDiv(X, size), scrollY + FloorDiv(Y, size)};
}

std::string CoordinateReadout(int mx, int my) {
    return "X:" + SignedNumberText(mx) + "  Y:" + SignedNumberText(my);
}

bool InsideView(double X, double Y, ViewSize view) {
    return X >= 0 && X < view.width && Y >= 0 && Y < view.height;
}

std::string ReadoutAt(double X, double Y, int zoomMode, int scrollX, int scrollY, ViewSize view) {
    if (!InsideView(X, Y, view)) {
        return {};
    }
    const MapCell cell = CellUnderPoint(X, Y, zoomMode, scrollX, scrollY);
    return CoordinateReadout(cell.x, cell.y);
}

} // namespace tessra
