#pragma once

#include "ui/tile_change_window.h"

namespace tessra {

// Exchanges two tile numbers across the whole map.
class frmTileSwap : public TileChangeWindow {
    Q_OBJECT

  public:
    frmTileSwap(ToolWindowContext& context, QWidget* parent);
};

} // namespace tessra
