#pragma once

#include "core/model/document.h"
#include "core/model/map_grid.h"

#include <array>
#include <cstdint>
#include <string>

namespace tessra {

inline constexpr const char* UntitledFileName = "[Untitled]";

// The tools of the tool selector, in button order.
enum Tool : std::int16_t {
    ToolDraw = 0,
    ToolFloodfill = 1,
    ToolStamp = 2,
    ToolErase = 3,
    ToolSelect = 4,
};

inline constexpr int StampMaxSize = 8;
// Stamp cells, index i + 8 * j for column i and row j.
using StampCells = std::array<std::int16_t, StampMaxSize * StampMaxSize>;

// The one editor document and the settings shared by every window. Windows
// receive it by reference; there is no second copy.
struct EditorState : Document, Selection {
    std::int16_t CurrentTool = ToolDraw;
    std::int16_t ZoomMode = 0;
    std::string CurrentFileName = UntitledFileName;
    std::string AppPath;

    std::int16_t PaletteCursorX = 0;
    std::int16_t PaletteCursorY = 0;

    // The command word a tool window leaves for the main window.
    std::string Tag;

    // The rubber stamp: (StampSizeIndexX + 2) x (StampSizeIndexY + 2) cells of StampData.
    std::int16_t StampSizeIndexX = 0;
    std::int16_t StampSizeIndexY = 0;
    StampCells StampData{};

    // The stamp builder's working copy and the tile a left click there writes.
    StampCells StampBuilderData{};
    std::int16_t StampBuilderTile = 0;
};

inline int StampWidth(const EditorState& state) {
    return state.StampSizeIndexX + 2;
}
inline int StampHeight(const EditorState& state) {
    return state.StampSizeIndexY + 2;
}
inline std::int16_t& StampCell(StampCells& cells, int i, int j) {
    return cells[i + StampMaxSize * j];
}
inline std::int16_t StampCell(const StampCells& cells, int i, int j) {
    return cells[i + StampMaxSize * j];
}

// The map's file, or "" while it has none.
inline std::string MapFilePath(const EditorState& state) {
    return state.CurrentFileName == UntitledFileName ? std::string() : state.CurrentFileName;
}

// The main window's caption.
inline std::string WindowTitle(const EditorState& state) {
    return "TESSRA - " + state.CurrentFileName;
}

} // namespace tessra
