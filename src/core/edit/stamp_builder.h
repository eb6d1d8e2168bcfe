#pragma once

#include "core/base/result.h"
#include "core/edit/cell_block.h"
#include "core/model/editor_state.h"
#include "core/render/palette_build.h"
#include "core/render/surface.h"

#include <string>
#include <vector>

namespace tessra {

inline constexpr int StampCellPixels = 64;
inline constexpr int StampSizeChoices = 7; // sizes 2..8
inline constexpr int StampGridSide = StampMaxSize * StampCellPixels;

// The entries of cmbStampX and cmbStampY: "2 pix" .. "8 pix".
std::vector<std::string> StampSizeTexts();

// The width or height of picStamper for the size list position k.
constexpr int StampGridPixels(int sizeIndex) {
    return (sizeIndex + 2) * StampCellPixels;
}

// The builder window's own state while it is open; the working cells and the
// painting tile live in EditorState (StampBuilderData, StampBuilderTile).
struct StampBuilderModel {
    int SizeIndexX = 0; // chosen positions of cmbStampX and cmbStampY
    int SizeIndexY = 0;
    PaletteCell Marker{0, 0, 0}; // imgTileSelector
    Surface Palette;             // the builder's copy of the palette, all 16 rows
};

// Form_Load: copies the palette and StampData and takes the sizes. The marker
// starts on StampBuilderTile, the tile a left click will write.
StampBuilderModel OpenStampBuilder(EditorState& state, const Surface& palette);

// All 8 x 8 cells, 64 x 64 pixels each, into a 512 x 512 grid picture; the
// window shows its top-left StampGridPixels(k) square.
void DrawStampGrid(const StampCells& cells, const Surface& palette, Surface& grid);

// picTileset_MouseDown, any button: chooses the painting tile. Returns false,
// changing nothing, for a point that gives no tile number.
bool PickBuilderTile(EditorState& state, StampBuilderModel& builder, double X, double Y);

// picStamper_MouseDown / _MouseMove: the left button paints the cell under the
// point, the right button takes its tile (the marker stays). Cells outside
// 0..7 are ignored. Returns whether the grid is to be drawn again.
bool PressStampGrid(EditorState& state, int button, double X, double Y);

// cmdOK_Click: keeps the sizes and the cells. Cancel simply does not call it.
void AcceptStampBuilder(EditorState& state, const StampBuilderModel& builder);

// Makes a block of 2 to 8 cells each way the stamp, as if built in the
// builder; refuses any other size, changing nothing.
Status BlockToStamp(EditorState& state, const CellBlock& block);

} // namespace tessra
