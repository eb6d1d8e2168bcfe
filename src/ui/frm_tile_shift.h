#pragma once

#include "core/edit/map_shift.h"
#include "ui/tool_dialog.h"

#include <optional>

namespace tessra {

// Adds an offset to every cell whose tile lies in a range, then leaves "SWAP"
// in Tag so the main window redraws the map.
class frmTileShift : public ToolDialog {
    Q_OBJECT

  public:
    frmTileShift(ToolWindowContext& context, QWidget* parent);

    // The shift made, once made.
    const std::optional<TileShift>& Outcome() const { return outcome_; }

  private:
    void cmdShift_Click();

    QLineEdit* txtFrom = nullptr;
    QLineEdit* txtTo = nullptr;
    QLineEdit* txtOffset = nullptr;
    QPushButton* cmdShift = nullptr;
    QPushButton* cmdCancel = nullptr;
    std::optional<TileShift> outcome_;
};

} // namespace tessra
