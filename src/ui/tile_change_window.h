#pragma once

#include "core/edit/tile_swap.h"
#include "core/model/map_grid.h"
#include "core/render/surface.h"
#include "ui/tool_dialog.h"

#include <array>
#include <cstdint>
#include <optional>

class QLabel;

namespace tessra {

class PictureBox;

// What tells tile swap and tile replace apart: their texts and the map change.
struct TileChangeKind {
    const char* name;
    const char* caption;
    const char* frame1;
    const char* frame2;
    const char* action;
    HelpTopic help;
    bool bothWays; // drawn into the decorative icon
    int (*change)(MapGrid& map, std::uint8_t a, std::uint8_t b);
};

// The twin windows: two tile number boxes with enlarged previews, an action that
// changes the whole map and leaves "SWAP" in Tag, and Cancel, which leaves "".
class TileChangeWindow : public ToolDialog {
    Q_OBJECT

  public:
    static constexpr int PreviewSize = 64;

    // The two tiles changed, once changed.
    const std::optional<TilePair>& Outcome() const { return outcome_; }

  protected:
    TileChangeWindow(ToolWindowContext& context, QWidget* parent, const TileChangeKind& kind);

  private:
    void BuildGroup(int i, const char* frameName, const char* caption, int left);
    void cmdCheck_Click(int i);
    void cmdSwap_Click();
    void cmdCancel_Click();

    const TileChangeKind& kind_;
    std::array<Surface, 2> previews_;
    std::array<QLineEdit*, 2> txtDoSwap{};
    std::array<QPushButton*, 2> cmdCheck{};
    std::array<PictureBox*, 2> picTileTexture{};
    QPushButton* cmdSwap = nullptr;
    QPushButton* cmdCancel = nullptr;
    QLabel* Image1 = nullptr;
    std::optional<TilePair> outcome_;
};

// Draws the 64 x 64 preview of the tile a box names: its palette square enlarged
// four times, black where the square lies outside the palette or there is no number.
void DrawTilePreview(const Surface& palette, std::string_view boxText, Surface& preview);

} // namespace tessra
