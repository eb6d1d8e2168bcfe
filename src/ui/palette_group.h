#pragma once

#include "core/model/document.h"
#include "core/render/palette_build.h"
#include "core/render/surface.h"

#include <QGroupBox>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QListWidget;
class QPushButton;

namespace tessra {

class PictureBox;

// The tile palette group, Frame1: the preview of the selected tile, the
// tileset list with its buttons, and the palette picture with its marker. It
// shows what it is given and reports what the user asks for; the main window
// decides what happens.
class PaletteGroup : public QGroupBox {
    Q_OBJECT

  public:
    explicit PaletteGroup(QWidget* parent);

    // The palette picture, rebuilt by the main window, and the preview.
    Surface& palette() { return palette_; }
    const Surface& palette() const { return palette_; }
    const Surface& preview() const { return preview_; }

    // The list's entries, marking those that failed to load; shows the rebuilt palette.
    void ShowTilesets(const std::vector<std::string>& tilesets,
                      const std::vector<TilesetFailure>& failures);
    // The selected entry and its buttons, and the selected tile: marker,
    // preview and caption.
    void ShowSelection(const Selection& selection);
    // The tiles a drag across the palette ended on the selected tile covers,
    // row by row, or the selected tile alone.
    std::vector<int> SelectedTiles(int selectedTile) const;

  signals:
    void AddClicked();
    void RemoveClicked();
    void MoveUpClicked();
    void MoveDownClicked();
    void LocateChosen();
    // A release over the palette picked a tile number (only 0..255 are reported).
    void TilePicked(int tile);
    // The user selected a list entry, or none (-1).
    void TilesetSelected(int row);

  private:
    QPushButton* AddButton(const char* name, const char* caption, int y);
    void BuildList();
    void picTileset_MouseDown(int button, double X, double Y);
    void picTileset_MouseUp(int button, double X, double Y);
    void lstTilesets_Click();
    void ShowSelectedEntry(int row);
    void ShowSelectedTile(int tile);

    Surface palette_;
    Surface preview_;
    // Where the marker stands: a release beside the picture puts it there,
    // beyond the square its tile number names.
    PaletteCell marker_{0, 0, 0};
    // A drag's first and last tile; it lasts while the last stays selected.
    int pressedTile_ = 0;
    std::optional<std::pair<int, int>> range_;

    PictureBox* picTileTexture = nullptr;
    QListWidget* lstTilesets = nullptr;
    QPushButton* cmdAddTileset = nullptr;
    QPushButton* cmdDelTileset = nullptr;
    QPushButton* cmdMoveUp = nullptr;
    QPushButton* cmdMoveDown = nullptr;
    PictureBox* picTileset = nullptr;
    QWidget* imgTileSelector = nullptr;
    QWidget* imgTileRange = nullptr;
    QAction* mnuLocateTileset = nullptr;
};

} // namespace tessra
