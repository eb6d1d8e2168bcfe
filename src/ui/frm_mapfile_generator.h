#pragma once

#include "core/formats/dat_file.h"
#include "ui/tool_dialog.h"

#include <optional>

namespace tessra {

// Exports the top-left W x H cells of the map as raw bytes (*.dat).
class frmMapfileGenerator : public ToolDialog {
    Q_OBJECT

  public:
    frmMapfileGenerator(ToolWindowContext& context, QWidget* parent);

    // The size of the block written, once a file was written.
    const std::optional<MapFileSize>& Outcome() const { return outcome_; }

  private:
    void cmdGenerate_Click();

    QLineEdit* txtMapSizeX = nullptr;
    QLineEdit* txtMapSizeY = nullptr;
    QPushButton* cmdGenerate = nullptr;
    std::optional<MapFileSize> outcome_;
};

} // namespace tessra
