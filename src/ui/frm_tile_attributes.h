#pragma once

#include "core/edit/tile_attribute_edit.h"
#include "core/render/surface.h"
#include "ui/tool_dialog.h"

#include <vector>

class QCheckBox;
class QLabel;

namespace tessra {

class PictureBox;

// Tools > Tile Attributes...: the palette, priority, flips and behaviour of
// the selected tile, or of every tile of a rectangle dragged in the palette.
// Where the tiles differ, a box is left empty and a check box half checked,
// and each tile keeps its own value unless the user sets one. OK writes the
// attributes into the document; the main window makes that an undo step.
class frmTileAttributes : public ToolDialog {
    Q_OBJECT

  public:
    frmTileAttributes(ToolWindowContext& context, std::vector<int> tiles, QWidget* parent);

  private:
    QLineEdit* AddNumberBox(const char* name, const char* caption, int y,
                            const std::optional<std::uint8_t>& value);
    QCheckBox* AddFlag(const char* name, const char* caption, int y,
                       const std::optional<bool>& value);
    // A box's number, nothing when it is left empty for tiles that differ.
    Result<std::optional<std::uint8_t>> ReadBox(QLineEdit* box, const char* caption,
                                                int limit) const;
    void ShowPreview();
    void cmdOK_Click();

    std::vector<int> tiles_;
    TileAttributeEdit shared_;
    Surface preview_;
    PictureBox* picPreview = nullptr;
    QLineEdit* txtPalette = nullptr;
    QLineEdit* txtBehaviour = nullptr;
    QCheckBox* chkPriority = nullptr;
    QCheckBox* chkHflip = nullptr;
    QCheckBox* chkVflip = nullptr;
};

} // namespace tessra
