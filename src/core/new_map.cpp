#include "core/new_map.h"

namespace tessra {

void NewMap(EditorState& state, std::uint8_t fillTile, bool keepTilesets) {
    state.MapData.Fill(fillTile);
    if (!keepTilesets) {
        state.Tilesets.clear();
    }
    state.CurrentFileName = UntitledFileName;
}

} // namespace tessra
