#pragma once

#include <QPoint>
#include <QRect>
#include <QWidget>
#include <vector>

namespace tessra {

// What the map view shows on top of its cells: the cell grid, the block that
// Map Generation writes and the cells under the pointer. Only geometry; no
// map data.
struct OverlaySettings {
    bool grid = false;
    bool exportArea = false;
    int cellSize = 16;             // pixels per cell at the current zoom
    int scrollX = 0;               // the map column at the view's left edge
    int scrollY = 0;               // the map row at the view's top edge
    int exportWidth = 256;         // cells
    int exportHeight = 256;        // cells
    QRect preview;                 // map cells a click would change, outlined; empty for none
    std::vector<QPoint> highlight; // visible map cells holding the highlighted tile

    bool operator==(const OverlaySettings&) const = default;
};

// "256 x 256 = 65,536 bytes".
QString ExportAreaText(int width, int height);

// Drawn over the map view when the screen is painted, so the view's own
// picture never holds a grid line. Mouse events pass through to the view.
class MapOverlay final : public QWidget {
    Q_OBJECT

  public:
    explicit MapOverlay(QWidget* view);

    void SetSettings(const OverlaySettings& settings);
    const OverlaySettings& settings() const { return settings_; }
    // Where the export area's label was last painted.
    QRect label() const { return label_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void DrawGrid(QPainter& painter) const;
    void DrawExportArea(QPainter& painter);
    void DrawPreview(QPainter& painter) const;
    // The view pixels the preview outline covers.
    QRect PreviewArea() const;
    void DrawHighlight(QPainter& painter) const;

    OverlaySettings settings_;
    QRect label_;
};

} // namespace tessra
