#pragma once

#include <QStatusBar>
#include <optional>

class QLabel;

namespace tessra {

// The main window's status bar: the cell under the pointer and its tile, the
// selected tile, the zoom and whether there are unsaved changes, with room on
// the left for what the last command did.
class MainStatusBar : public QStatusBar {
  public:
    explicit MainStatusBar(QWidget* parent);

    struct PointedCell {
        int x, y, tile;
    };
    // The cell under the pointer, or none when it is off the map.
    void ShowPointedCell(std::optional<PointedCell> cell);
    void ShowSettings(int selectedTile, const char* zoomCaption, bool modified);
    struct TileCount {
        int tile, cells;
    };
    // How many cells hold the highlighted tile, or nothing when none is.
    void ShowHighlightCount(std::optional<TileCount> count);
    // "Swap changed 12 cells".
    void ShowChangedCells(const std::string& stepLabel, int cells);
    // What a command did, for a while on the left.
    void ShowDone(const QString& text);

  private:
    QLabel* AddLabel(const char* name);

    QLabel* lblStatusHighlight = nullptr;
    QLabel* lblStatusCell = nullptr;
    QLabel* lblStatusTile = nullptr;
    QLabel* lblStatusZoom = nullptr;
    QLabel* lblStatusModified = nullptr;
};

} // namespace tessra
