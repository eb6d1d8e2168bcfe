#pragma once

#include "core/model/editor_state.h"

#include <cstdint>

namespace tessra {

// What "&New Map..." is asked for.
struct NewMapChoice {
    std::uint8_t FillTile = 0;
    bool KeepTilesets = true;
};

// Every cell gets the fill tile, the tileset list is emptied unless kept (and
// with it the list's selection and the tiles' attributes), and the document
// becomes untitled.
void NewMap(EditorState& state, const NewMapChoice& choice);

} // namespace tessra
