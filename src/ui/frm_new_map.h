#pragma once

#include "ui/tool_dialog.h"

class QCheckBox;

namespace tessra {

// "&New Map...": fills every cell with one tile, keeps or empties the tileset
// list, makes the map untitled and leaves "NEW" in Tag.
class frmNewMap : public ToolDialog {
    Q_OBJECT

  public:
    frmNewMap(ToolWindowContext& context, QWidget* parent);

  private:
    void cmdOK_Click();

    QLineEdit* txtFillTile = nullptr;
    QCheckBox* chkKeepTilesets = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;
};

} // namespace tessra
