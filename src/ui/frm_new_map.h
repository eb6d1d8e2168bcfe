#pragma once

#include "core/model/new_map.h"
#include "ui/tool_dialog.h"

#include <optional>

class QCheckBox;

namespace tessra {

// "&New Map...": fills every cell with one tile, keeps or empties the tileset
// list, makes the map untitled and leaves "NEW" in Tag.
class frmNewMap : public ToolDialog {
    Q_OBJECT

  public:
    frmNewMap(ToolWindowContext& context, QWidget* parent);

    // What the new map was made of, once OK has made it.
    const std::optional<NewMapChoice>& Outcome() const { return outcome_; }

  private:
    void cmdOK_Click();

    QLineEdit* txtFillTile = nullptr;
    QCheckBox* chkKeepTilesets = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;
    std::optional<NewMapChoice> outcome_;
};

} // namespace tessra
