#pragma once

#include "core/convert/similar_tiles.h"
#include "core/export/console_tiles.h"

#include <QWidget>

class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;

namespace tessra {

// View > Hardware Budget: for the map's export settings, the stored 8 x 8
// tiles against the console's limit, each sub-palette's colours against its
// room, and every problem the export would refuse. A double-click on a
// problem names its tile. Over the tile limit it also lists the tiles that
// look alike, to merge.
class BudgetPanel : public QWidget {
    Q_OBJECT

  public:
    explicit BudgetPanel(QWidget* parent);

    void Show(const HardwareBudget& budget, const ExportSettings& settings);
    // The look-alike pairs, drawn from the palette, shown only when `over`.
    void ShowSimilar(bool over, const std::vector<SimilarTiles>& pairs, const Surface& palette);

  signals:
    void ProblemChosen(int tile);
    void SimilarTilesAsked();

  private:
    QLabel* lblBudgetConsole = nullptr;
    QProgressBar* barTiles = nullptr;
    QLabel* lblTiles = nullptr;
    QListWidget* lstPalettes = nullptr;
    QLabel* lblProblems = nullptr;
    QListWidget* lstProblems = nullptr;
    QLabel* lblSimilar = nullptr;
    QListWidget* lstSimilar = nullptr;
    QPushButton* cmdSimilarTiles = nullptr;
};

} // namespace tessra
