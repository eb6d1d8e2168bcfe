#pragma once

#include "ui/tool_dialog.h"

#include <optional>

class QTableWidget;

namespace tessra {

// Tools > Tile Usage: every tile number with the count of cells that hold it,
// unused ones included, sortable by either column. A double-click on a row
// chooses its tile and closes the window.
class frmTileUsage : public ToolDialog {
    Q_OBJECT

  public:
    frmTileUsage(ToolWindowContext& context, QWidget* parent);

    // The tile chosen, if one was.
    std::optional<int> Outcome() const { return chosen_; }

  private:
    QTableWidget* lstTileUsage = nullptr;
    std::optional<int> chosen_;
};

} // namespace tessra
