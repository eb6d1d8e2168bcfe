#pragma once

#include "core/convert/similar_tiles.h"
#include "ui/tool_dialog.h"

#include <functional>
#include <vector>

class QIcon;
class QLabel;
class QListWidget;

namespace tessra {

// Lists the pairs of tiles the map uses that look alike, each drawn side by
// side with its differences marked, and merges the chosen pair through the
// main window, so that each merge is one step it can undo.
class frmSimilarTiles : public ToolDialog {
    Q_OBJECT

  public:
    using MergeTiles = std::function<void(const SimilarTiles&)>;
    frmSimilarTiles(ToolWindowContext& context, MergeTiles merge, QWidget* parent);

  private:
    // Finds the pairs again for the map and the box as they now are.
    void ListPairs();
    void cmdMerge_Click();

    QLineEdit* txtMaxPixels = nullptr;
    QPushButton* cmdList = nullptr;
    QLabel* lblPairs = nullptr;
    QListWidget* lstPairs = nullptr;
    QPushButton* cmdMerge = nullptr;
    QPushButton* cmdClose = nullptr;
    QPushButton* cmdHelp = nullptr;

    MergeTiles merge_;
    std::vector<SimilarTiles> pairs_;
};

// The pair as DrawSimilarPair draws it, the same when chosen in a list.
QIcon SimilarPairIcon(const Surface& palette, const SimilarTiles& pair);

} // namespace tessra
