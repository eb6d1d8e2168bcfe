#pragma once

#include "core/model/map_grid.h"
#include "core/render/map_view.h"

#include <string>

namespace tessra {

// The map cell under a point of the view. Points left of or above the view
// give negative cells; nothing is clamped.
MapCell CellUnderPoint(double X, double Y, int zoomMode, int scrollX, int scrollY);

// "X: 5  Y: 12", "X:-1  Y: 0".
std::string CoordinateReadout(int mx, int my);

// The map view's size in pixels: 512 x 448 until the window grows.
struct ViewSize {
    int width = ViewWidth, height = ViewHeight;
};

// Whether a point lies on the view.
bool InsideView(double X, double Y, ViewSize view = {});

// What the coordinate label shows with the pointer at a point: the cell under
// it, or nothing when the point is off the view.
std::string ReadoutAt(double X, double Y, int zoomMode, int scrollX, int scrollY,
                      ViewSize view = {});

} // namespace tessra
