#pragma once

#include "core/export/console_tiles.h"

#include <QWidget>

class QLabel;
class QListWidget;
class QProgressBar;

namespace tessra {

// View > Hardware Budget: for the map's export settings, the stored 8 x 8
// tiles against the console's limit, each sub-palette's colours against its
// room, and every problem the export would refuse. A double-click on a
// problem names its tile.
class BudgetPanel : public QWidget {
    Q_OBJECT

  public:
    explicit BudgetPanel(QWidget* parent);

    void Show(const HardwareBudget& budget, const ExportSettings& settings);

  signals:
    void ProblemChosen(int tile);

  private:
    QLabel* lblBudgetConsole = nullptr;
    QProgressBar* barTiles = nullptr;
    QLabel* lblTiles = nullptr;
    QListWidget* lstPalettes = nullptr;
    QLabel* lblProblems = nullptr;
    QListWidget* lstProblems = nullptr;
};

} // namespace tessra
