#pragma once

#include "core/edit/select_tool.h"
#include "core/edit/tool_table.h"
#include "core/model/editor_state.h"
#include "core/render/surface.h"

#include <QPoint>
#include <QRect>
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
    EditField(const EditorState& state, const MapSelection& selection, const Surface& palette,
              QWidget* parent);

    const Surface& view() const { return view_; }
    ViewSize ViewPixels() const { return {view_.Width(), view_.Height()}; }
    int ScrollX() const;
    int ScrollY() const;
    // Where the pointer was last seen over the view, or none once it left.
    std::optional<QPointF> Pointer() const { return pointer_; }

    // Draws the visible cells of the map and shows them.
    void RedrawMapView();
    // The scroll bars' ranges for the state's zoom, then a redraw.
    void ApplyZoom();
    // Asks for another zoom, keeping the cell at the view's centre there.
    void ZoomAboutCentre(int zoomMode);
    // The grid and the export area over the map, as the View menu sets them.
    void ShowOverlay(bool grid, bool exportArea);
    // Each cell's behaviour number over the map, as View > Show Behaviour sets it.
    void ShowBehaviour(bool shown);
    // What the export area outlines: the block Map Generation wrote last,
    // and the region File > Export writes with the bytes it makes (-1: not known).
    void SetGenerationArea(int width, int height);
    void SetExportRegion(QRect cells, qint64 bytes);
    // The map cells a click would change, outlined over the view; empty for none.
    void ShowPreview(QRect cells);
    // Outlines every visible cell holding this tile, or none.
    void ShowHighlight(std::optional<int> tile);
    // The selection's outline, after it changed; a floating block needs a redraw.
    void ShowSelection();

  signals:
    void MouseDown(int button, double X, double Y);
    void MouseMove(int button, double X, double Y);
    void MouseUp(int button, double X, double Y);
    void MouseLeft();
    // Ctrl and the wheel ask for another zoom; once the main window has
    // applied it, the cell under the pointer is kept there.
    void ZoomRequested(int zoomMode);
    // The map moved under a pointer that stayed where it was over the view
    // (a scroll or a zoom), or the pointer left the view.
    void PointerStill(double X, double Y);
    void PointerLeft();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // The view and its surface follow the field's size.
    void resizeEvent(QResizeEvent* event) override;

  private:
    void SetScrollRanges();
    void ScrollChanged();
    void ReportPointer();
    void picEditField_Wheel(QWheelEvent* event);
    void ZoomAround(int zoomMode, QPointF at);
    void UpdateOverlay();
    std::vector<QPoint> HighlightedCells() const;
    // The selected cells, or those a floating block covers.
    QRect SelectionOutline() const;

    const EditorState& state_;
    const MapSelection& selection_;
    const Surface& palette_;
    Surface view_;
    MapGrid floatingShown_; // the map with a floating block, as the view draws it
    bool grid_ = false;
    bool exportArea_ = false;
    int generationWidth_ = MapSize, generationHeight_ = MapSize;
    QRect exportRegion_{0, 0, MapSize, MapSize};
    qint64 exportBytes_ = -1;
    QPoint wheelRest_;               // wheel angle not yet turned into whole steps
    std::optional<QPointF> pointer_; // where the pointer was last seen over the view
    QRect preview_;
    std::optional<int> highlightTile_;

    PictureBox* picEditField = nullptr;
    QScrollBar* scrHoriz = nullptr;
    QScrollBar* scrVert = nullptr;
    MapOverlay* overlay_ = nullptr;
    BehaviourOverlay* behaviour_ = nullptr;
};

} // namespace tessra
