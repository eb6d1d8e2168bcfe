#pragma once

#include "core/model/map_grid.h"
#include "core/model/tile_attributes.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tessra {

// The document's content: what a map's files hold, and what undo takes back.
// The file it is saved to is not content, so undo never changes it.
struct Document {
    MapGrid MapData;
    std::vector<std::string> Tilesets; // as listed, in palette order, no duplicates
    // Kept beside the project file, in NAME.attributes.json, whose format stays its own.
    TileAttributeTable Attributes;
    // Where the relative paths of Tilesets are taken from: the folder of the
    // file they were read from ("" for the working folder). A save elsewhere
    // writes them rebased to its own folder and leaves the list as it is.
    std::string ProjectFolder;

    bool operator==(const Document&) const = default;
};

// What the palette group has selected. Not content, but a step that changes
// the tileset list gives it back on undo and redo, since the list and the
// palette it belongs to change under it.
struct Selection {
    std::int16_t SelectedTile = 0;
    int SelectedTileset = -1; // the tileset list's selected entry, -1 for none

    bool operator==(const Selection&) const = default;
};

// What an edit, an undo, a redo, an open or a new map changed: the main window
// brings every control that shows one of these up to date from it.
struct DocumentChange {
    bool cells = false;     // MapData: the view
    bool tilesets = false;  // the list, or content beyond the map: list, palette, view
    bool fileName = false;  // CurrentFileName: the caption
    bool selection = false; // Selection: marker, preview, caption, list entry
    bool history = false;   // the undo steps or the saved point: the Edit menu
    int changedCells = 0;   // cells of MapData a closed step changed, for the status bar

    DocumentChange& operator|=(const DocumentChange& other) {
        cells |= other.cells;
        tilesets |= other.tilesets;
        fileName |= other.fileName;
        selection |= other.selection;
        history |= other.history;
        changedCells += other.changedCells;
        return *this;
    }
    bool operator==(const DocumentChange&) const = default;
};

} // namespace tessra
