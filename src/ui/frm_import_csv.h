#pragma once

#include "core/formats/csv_import.h"
#include "ui/tool_dialog.h"

#include <optional>

class QLabel;

namespace tessra {

// Fills the map from a Mappy CSV file of a typed size, then leaves "LOAD" in
// Tag for the main window.
class frmImportCSV : public ToolDialog {
    Q_OBJECT

  public:
    frmImportCSV(ToolWindowContext& context, QWidget* parent);

    // The size imported, once the map is filled.
    const std::optional<CsvSize>& Outcome() const { return outcome_; }

  private:
    void cmdBrowse_Click();
    void cmdOK_Click();

    QLabel* Label1 = nullptr;
    QLineEdit* txtBrowseForFile = nullptr;
    QPushButton* cmdBrowse = nullptr;
    QLineEdit* txtSizeX = nullptr;
    QLineEdit* txtSizeY = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;
    QPushButton* cmdHelp = nullptr;
    std::optional<CsvSize> outcome_;
};

} // namespace tessra
