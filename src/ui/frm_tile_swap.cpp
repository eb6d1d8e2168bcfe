#include "ui/frm_tile_swap.h"

#include "core/edit/tile_swap.h"

namespace tessra {

namespace {

constexpr TileChangeKind TileSwapKind{.name = "frmTileSwap",
                                      .caption = "Tile Swap - Switch Two Tile Textures On The Map",
                                      .frame1 = "Swap Texture...",
                                      .frame2 = "With Texture...",
                                      .action = "&Swap!",
                                      .help = HelpTileSwapTopic,
                                      .bothWays = true,
                                      .change = &SwapTiles};

} // namespace

frmTileSwap::frmTileSwap(ToolWindowContext& context, QWidget* parent)
    : TileChangeWindow(context, parent, TileSwapKind) {}

} // namespace tessra
