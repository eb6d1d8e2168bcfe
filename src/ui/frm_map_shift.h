#pragma once

#include "core/edit/map_shift.h"
#include "ui/tool_dialog.h"

#include <optional>

class QRadioButton;

namespace tessra {

// Moves the whole map by X, Y cells, wrapping around or filling with a tile,
// then leaves "SWAP" in Tag so the main window redraws the map.
class frmMapShift : public ToolDialog {
    Q_OBJECT

  public:
    frmMapShift(ToolWindowContext& context, QWidget* parent);

    // The shift made, once made.
    const std::optional<MapShift>& Outcome() const { return outcome_; }

  private:
    void cmdShift_Click();

    QLineEdit* txtShiftX = nullptr;
    QLineEdit* txtShiftY = nullptr;
    QRadioButton* optWrap = nullptr;
    QRadioButton* optFill = nullptr;
    QLineEdit* txtFillTile = nullptr;
    QPushButton* cmdShift = nullptr;
    QPushButton* cmdCancel = nullptr;
    std::optional<MapShift> outcome_;
};

} // namespace tessra
