#pragma once

#include "core/edit/stamp_builder.h"
#include "ui/tool_dialog.h"

class QComboBox;

namespace tessra {

class PictureBox;

// Composes the rubber stamp: its size and its cells, painted from a copy of the
// palette, or loaded from a stamp file. Only OK changes the stamp.
class frmRubberStampMaker : public ToolDialog {
    Q_OBJECT

  public:
    frmRubberStampMaker(ToolWindowContext& context, QWidget* parent);

  private:
    void BuildSizeFrame();
    void BuildButtons();
    void cmbStampX_Click(int index);
    void cmbStampY_Click(int index);
    void picTileset_MouseDown(int button, double X, double Y);
    void picStamper_MouseDown(int button, double X, double Y);
    void cmdOK_Click();
    void cmdLoadStamp_Click();
    void cmdSaveStamp_Click();
    void DrawGrid();
    void PlaceMarker();

    StampBuilderModel builder_;
    Surface grid_;
    PictureBox* picTileset = nullptr;
    QWidget* imgTileSelector = nullptr;
    PictureBox* picStamper = nullptr;
    QComboBox* cmbStampX = nullptr;
    QComboBox* cmbStampY = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;
    QPushButton* cmdLoadStamp = nullptr;
    QPushButton* cmdSaveStamp = nullptr;
};

} // namespace tessra
