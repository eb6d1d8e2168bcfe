#include "core/new_map.h"

namespace tessra {

void NewMap(EditorState& state, const NewMapChoice& choice) {
    state.MapData.Fill(choice.FillTile);
    if (!choice.KeepTilesets) {
        state.Tilesets.clear();
        state.SelectedTileset = -1;
    }
    state.CurrentFileName = UntitledFileName;
}

} // namespace tessra
