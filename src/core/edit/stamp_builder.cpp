#include "core/edit/stamp_builder.h"

#include "core/edit/tool_table.h"

#include <algorithm>

namespace tessra {
namespace {

int ClampSizeIndex(int index) {
    return std::clamp(index, 0, StampSizeChoices - 1);
}

PaletteCell CellOfTile(int tile) {
    return {tile % PaletteColumns, tile / PaletteColumns, tile};
}

} // namespace

std::vector<std::string> StampSizeTexts() {
    std::vector<std::string> texts;
    for (int n = 2; n < 2 + StampSizeChoices; ++n) {
        texts.push_back(std::to_string(n) + " pix");
    }
    return texts;
}

StampBuilderModel OpenStampBuilder(EditorState& state, const Surface& palette) {
    StampBuilderModel builder;
    builder.Palette.Resize(PaletteWidth, PaletteHeight);
    BitBlt(builder.Palette, 0, 0, PaletteWidth, PaletteHeight, palette, 0, 0);
    builder.SizeIndexX = ClampSizeIndex(state.StampSizeIndexX);
    builder.SizeIndexY = ClampSizeIndex(state.StampSizeIndexY);
    state.StampBuilderData = state.StampData;
    if (!IsTileNumber(state.StampBuilderTile)) {
        state.StampBuilderTile = 0;
    }
    builder.Marker = CellOfTile(state.StampBuilderTile);
    return builder;
}

void DrawStampGrid(const StampCells& cells, const Surface& palette, Surface& grid) {
    if (grid.Width() != StampGridSide || grid.Height() != StampGridSide) {
        grid.Resize(StampGridSide, StampGridSide);
    }
    for (int i = 0; i < StampMaxSize; ++i) {
        for (int j = 0; j < StampMaxSize; ++j) {
            const int t = StampCell(cells, i, j);
            StretchBlt(grid, StampCellPixels * i, StampCellPixels * j, StampCellPixels,
                       StampCellPixels, palette, TileLeft(t), TileTop(t), TileSize, TileSize);
        }
    }
}

bool PickBuilderTile(EditorState& state, StampBuilderModel& builder, double X, double Y) {
    const PaletteCell cell = TileAtPalettePoint(X, Y);
    if (!IsTileNumber(cell.tile)) {
        return false;
    }
    state.StampBuilderTile = static_cast<std::int16_t>(cell.tile);
    builder.Marker = cell;
    return true;
}

bool PressStampGrid(EditorState& state, int button, double X, double Y) {
    const int i = FloorDiv(X, StampCellPixels);
    const int j = FloorDiv(Y, StampCellPixels);
    const bool inside = i >= 0 && i < StampMaxSize && j >= 0 && j < StampMaxSize;
    if (button == LeftButton) {
        if (inside) {
            StampCell(state.StampBuilderData, i, j) = state.StampBuilderTile;
        }
        return true;
    }
    if (button == RightButton && inside) {
        state.StampBuilderTile = StampCell(state.StampBuilderData, i, j);
    }
    return false;
}

Status BlockToStamp(EditorState& state, const CellBlock& block) {
    const auto fits = [](int side) { return side >= 2 && side <= StampMaxSize; };
    if (!fits(block.width) || !fits(block.height)) {
        return Error{"A stamp is 2 to 8 cells each way; the selection is " +
                     std::to_string(block.width) + " \u00d7 " + std::to_string(block.height) +
                     " cells."};
    }
    StampCells cells{};
    for (int j = 0; j < block.height; ++j) {
        for (int i = 0; i < block.width; ++i) {
            StampCell(cells, i, j) = block(i, j);
        }
    }
    state.StampSizeIndexX = static_cast<std::int16_t>(block.width - 2);
    state.StampSizeIndexY = static_cast<std::int16_t>(block.height - 2);
    state.StampData = state.StampBuilderData = cells;
    return {};
}

void AcceptStampBuilder(EditorState& state, const StampBuilderModel& builder) {
    state.StampSizeIndexX = static_cast<std::int16_t>(ClampSizeIndex(builder.SizeIndexX));
    state.StampSizeIndexY = static_cast<std::int16_t>(ClampSizeIndex(builder.SizeIndexY));
    state.StampData = state.StampBuilderData;
}

} // namespace tessra
