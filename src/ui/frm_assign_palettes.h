#pragma once

#include "core/convert/palette_assignment.h"
#include "ui/tool_dialog.h"

#include <optional>
#include <vector>

class QComboBox;
class QLabel;
class QListWidget;

namespace tessra {

// Tools > Assign Palettes: packs the colours of the tiles the map uses into
// the fewest sub-palettes of a console, shows the result, and on Assign gives
// each tile its sub-palette.
class frmAssignPalettes : public ToolDialog {
    Q_OBJECT

  public:
    // Starts from the console, depth and backdrop of `settings` where they
    // name one; tiles is the palette picture unflipped.
    frmAssignPalettes(ToolWindowContext& context, const ExportSettings& settings,
                      const Surface& tiles, QWidget* parent);

    // The attributes with every used tile's sub-palette, once Assign is clicked.
    const std::optional<TileAttributeTable>& Outcome() const { return outcome_; }

  private:
    // Packs again for the chosen console and backdrop and shows the result.
    void Pack();
    void cmdAssign_Click();

    QComboBox* cmbConsole = nullptr;
    QLineEdit* txtBackdrop = nullptr;
    QLabel* lblResult = nullptr;
    QListWidget* lstPalettes = nullptr;
    QPushButton* cmdAssign = nullptr;
    QPushButton* cmdCancel = nullptr;
    QPushButton* cmdHelp = nullptr;

    const Surface& tiles_;
    std::vector<ConsoleDepthChoice> choices_ = ConsoleDepthChoices();
    Result<PaletteAssignment> packed_{Error{}};
    std::optional<TileAttributeTable> outcome_;
};

} // namespace tessra
