#pragma once

#include "ui/tool_dialog.h"

namespace tessra {

// Exports the top-left W x H cells of the map as raw bytes (*.dat).
class frmMapfileGenerator : public ToolDialog {
    Q_OBJECT

  public:
    frmMapfileGenerator(ToolWindowContext& context, QWidget* parent);

  private:
    void cmdGenerate_Click();

    QLineEdit* txtMapSizeX = nullptr;
    QLineEdit* txtMapSizeY = nullptr;
    QPushButton* cmdGenerate = nullptr;
};

} // namespace tessra
