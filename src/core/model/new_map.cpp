#include "core/model/new_map.h"

namespace tessra {

void NewMap(EditorState& state, const NewMapChoice& choice) {
    state.MapData.Fill(choice.FillTile);
    if (!choice.KeepTilesets) {
        state.Tilesets.clear();
        state.SelectedTileset = -1;
        // Attributes belong to the tiles the tilesets give: they go with them.
        state.Attributes = {};
    }
    state.CurrentFileName = UntitledFileName;
}

} // namespace tessra
