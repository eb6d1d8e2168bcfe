#pragma once

#include "core/editor_state.h"

#include <cstdint>

namespace tessra {

// "&New Map...": every cell gets fillTile, the tileset list is emptied unless
// kept, and the document becomes untitled. The caller rebuilds the palette
// when the list was emptied and sets the caption.
void NewMap(EditorState& state, std::uint8_t fillTile, bool keepTilesets);

} // namespace tessra
