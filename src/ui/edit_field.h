#pragma once

#include "core/editor_state.h"
#include "core/surface.h"

#include <QPoint>
#include <QWidget>
#include <optional>

class QScrollBar;

namespace tessra {

class BehaviourOverlay;
class MapOverlay;
class PictureBox;

// The map view picEditField with its scroll bars scrHoriz and scrVert, the
// overlay drawn over it and its mouse wheel. It draws the map at the state's
// zoom from the palette it is given and reports presses in view pixels.
class EditField : public QWidget {
    Q_OBJECT

  public:
    EditField(const EditorState& state, const Surface& palette, QWidget* parent);

    const Surface& view() const { return view_; }
    int ScrollX() const;
    int ScrollY() const;

    // Draws the visible cells of the map and shows them.
    void RedrawMapView();
    // The scroll bars' ranges for the state's zoom, then a redraw.
    void ApplyZoom();
    // The grid and the export area over the map, as the View menu sets them.
    void ShowOverlay(bool grid, bool exportArea);
    // Each cell's behaviour number over the map, as View > Show Behaviour sets it.
    void ShowBehaviour(bool shown);
    // The block Map Generation wrote last, outlined by the export area.
    void SetExportArea(int width, int height);

  signals:
    void MouseDown(int button, double X, double Y);
    void MouseMove(int button, double X, double Y);
    void MouseUp(int button, double X, double Y);
    // Ctrl and the wheel ask for another zoom; once the main window has
    // applied it, the cell under the pointer is kept there.
    void ZoomRequested(int zoomMode);
    // The map moved under a pointer that stayed where it was over the view
    // (a scroll or a zoom), or the pointer left the view.
    void PointerStill(double X, double Y);
    void PointerLeft();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void SetScrollRanges();
    void ScrollChanged();
    void ReportPointer();
    void picEditField_Wheel(QWheelEvent* event);
    void ZoomAround(int zoomMode, QPointF at);
    void UpdateOverlay();

    const EditorState& state_;
    const Surface& palette_;
    Surface view_;
    bool grid_ = false;
    bool exportArea_ = false;
    int exportWidth_ = MapSize, exportHeight_ = MapSize;
    QPoint wheelRest_;               // wheel angle not yet turned into whole steps
    std::optional<QPointF> pointer_; // where the pointer was last seen over the view

    PictureBox* picEditField = nullptr;
    QScrollBar* scrHoriz = nullptr;
    QScrollBar* scrVert = nullptr;
    MapOverlay* overlay_ = nullptr;
    BehaviourOverlay* behaviour_ = nullptr;
};

} // namespace tessra
