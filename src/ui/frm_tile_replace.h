#pragma once

#include "ui/tile_change_window.h"

namespace tessra {

// Changes one tile number into another across the whole map.
class frmTileReplace : public TileChangeWindow {
    Q_OBJECT

  public:
    frmTileReplace(ToolWindowContext& context, QWidget* parent);
};

} // namespace tessra
