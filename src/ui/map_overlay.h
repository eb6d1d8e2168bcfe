#pragma once

#include <QPoint>
#include <QRect>
#include <QWidget>
#include <vector>

class QTimer;

namespace tessra {

// What the map view shows on top of its cells: the cell grid, the block that
// Map Generation writes, the cells under the pointer and the selection. Only
// geometry; no map data.
struct OverlaySettings {
    bool grid = false;
    bool exportArea = false;            // the export's region and the Map Generation block
    int cellSize = 16;                  // pixels per cell at the current zoom
    int scrollX = 0;                    // the map column at the view's left edge
    int scrollY = 0;                    // the map row at the view's top edge
    QRect exportRegion{0, 0, 256, 256}; // cells File > Export writes
    qint64 exportBytes = -1;            // the data it makes; -1 while not known
    int generationWidth = 256;          // cells of the block Map Generation writes
    int generationHeight = 256;
    QRect preview;                 // map cells a click would change, outlined; empty for none
    QRect selection;               // selected map cells, in marching ants; empty for none
    std::vector<QPoint> highlight; // visible map cells holding the highlighted tile

    bool operator==(const OverlaySettings&) const = default;
};

// "Export 0,0 16 × 15: 480 bytes", without the bytes when not known.
QString ExportRegionText(QRect region, qint64 bytes);
// "Map Generation 256 × 256".
QString GenerationAreaText(int width, int height);

// Drawn over the map view when the screen is painted, so the view's own
// picture never holds a grid line. Mouse events pass through to the view.
class MapOverlay final : public QWidget {
    Q_OBJECT

  public:
    explicit MapOverlay(QWidget* view);

    void SetSettings(const OverlaySettings& settings);
    const OverlaySettings& settings() const { return settings_; }
    // Where the export region's label and the Map Generation block's were last painted.
    QRect exportLabel() const { return labels_[0]; }
    QRect generationLabel() const { return labels_[1]; }
    // How far the ants have marched; they march while a selection shows.
    int antsPhase() const { return antsPhase_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void DrawGrid(QPainter& painter) const;
    void DrawExportArea(QPainter& painter);
    // Outlines a block of cells and labels it beside the block, clear of `taken`.
    QRect DrawBlock(QPainter& painter, QRect cells, const QColor& colour, const QString& text,
                    QRect taken) const;
    void DrawPreview(QPainter& painter) const;
    // The view pixels the preview outline covers.
    QRect PreviewArea() const;
    void DrawHighlight(QPainter& painter) const;
    // The view pixels of the selection's outline.
    QRect SelectionArea() const;
    void DrawSelection(QPainter& painter) const;
    void MarchAnts();

    OverlaySettings settings_;
    QRect labels_[2];
    QTimer* ants_ = nullptr;
    int antsPhase_ = 0;
};

} // namespace tessra
