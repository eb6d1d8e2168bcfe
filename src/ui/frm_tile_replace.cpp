#include "ui/frm_tile_replace.h"

#include "core/edit/tile_swap.h"

namespace tessra {

namespace {

constexpr TileChangeKind TileReplaceKind{.name = "frmTileReplace",
                                         .caption =
                                             "Tile Replace - Change One Tile Texture To Another",
                                         .frame1 = "Change Texture...",
                                         .frame2 = "To Texture...",
                                         .action = "&Change!",
                                         .help = HelpTileReplaceTopic,
                                         .bothWays = false,
                                         .change = &ReplaceTiles};

} // namespace

frmTileReplace::frmTileReplace(ToolWindowContext& context, QWidget* parent)
    : TileChangeWindow(context, parent, TileReplaceKind) {}

} // namespace tessra
