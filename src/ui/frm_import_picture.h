#pragma once

#include "core/convert/level_picture.h"
#include "ui/tool_dialog.h"

#include <optional>
#include <string>

class QLabel;

namespace tessra {

// Cuts a level picture into tiles and a map: shows what the picture makes
// before anything is written, then writes the tileset picture and makes the
// document a new map of it.
class frmImportPicture : public ToolDialog {
    Q_OBJECT

  public:
    frmImportPicture(ToolWindowContext& context, QWidget* parent);

    // Whether the document became the picture's map.
    bool Outcome() const { return imported_; }

  private:
    void cmdBrowsePicture_Click();
    void cmdBrowseTileset_Click();
    void cmdOK_Click();
    // Analyses the picture and names a tileset beside it if none is named yet.
    void PictureChosen();
    // Reads and cuts the picture the box names, unless it is the one last cut,
    // and shows what it makes or why it is refused.
    void Analyse();

    QLabel* Label1 = nullptr;
    QLineEdit* txtPicture = nullptr;
    QPushButton* cmdBrowsePicture = nullptr;
    QLineEdit* txtTileset = nullptr;
    QPushButton* cmdBrowseTileset = nullptr;
    QLabel* lblSize = nullptr;
    QLabel* lblCells = nullptr;
    QLabel* lblTiles = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;
    QPushButton* cmdHelp = nullptr;

    std::optional<std::string> analysed_; // the path last read
    Result<LevelCut> cut_{Error{}};
    bool imported_ = false;
};

} // namespace tessra
