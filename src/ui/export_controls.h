#pragma once

#include "core/export/export_settings.h"

#include <QRect>
#include <QString>
#include <array>
#include <optional>
#include <span>
#include <string_view>

namespace tessra {

// One setting's control in the Export window: its frame (NoFrame for none),
// its row there, and the caption of its label (of the box itself for a flag).
struct SettingControl {
    std::string_view setting;
    const char* name;
    const char* caption;
    int frame;
    int row;
};

inline constexpr int NoFrame = 5;
inline constexpr std::array<const char*, 5> FrameCaptions = {"Block", "Cells", "Hardware", "File",
                                                             "Tiles and palettes"};

// Every setting, in the order the window lays them out.
inline constexpr std::array<SettingControl, 19> SettingControls = {{
    {"region", "txtRegion", "&Region:", 0, 0},
    {"screen", "txtScreen", "&Screen:", 0, 1},
    {"order", "cmbOrder", "&Order:", 0, 2},
    {"offset", "txtOffset", "O&ffset:", 1, 0},
    {"entry", "cmbEntry", "&Entry:", 1, 1},
    {"behaviour", "chkBehaviour", "&Behaviour bytes, not tiles", 1, 2},
    {"hardware", "cmbHardware", "&Hardware:", 2, 0},
    {"numbering", "cmbNumbering", "&Numbering:", 2, 1},
    {"tile-base", "txtTileBase", "&Tile base:", 2, 2},
    {"compress", "cmbCompress", "&Compress:", 3, 0},
    {"format", "cmbFormat", "For&mat:", 3, 1},
    {"syntax", "cmbSyntax", "S&yntax:", 3, 2},
    {"tiles", "txtTiles", "T&iles:", 4, 0},
    {"palettes", "txtPalettes", "Pa&lettes:", 4, 1},
    {"bpp", "cmbBpp", "&Depth:", 4, 2},
    {"backdrop", "txtBackdrop", "Bac&kdrop:", 4, 3},
    {"palette-file", "txtPaletteFile", "&GIMP palette:", 4, 4},
    {"nes-palette", "txtNesPalette", "NES colo&urs:", 4, 5},
    {"name", "txtName", "N&ame:", NoFrame, 0},
}};

// Where the window puts a frame, and a row's label and control in it
// (relative to the frame, or to the window for NoFrame).
QRect FrameRect(int frame);
QRect LabelRect(const SettingControl& row);
QRect ControlRect(const SettingControl& row);

// The values of an enumerated setting, for its list box.
std::optional<std::span<const ExportChoice>> ChoicesOf(std::string_view setting);

// Whether a setting counts with the others as the controls stand: the rest
// are greyed out and written with their defaults, as the core would refuse
// them or ignore them.
bool Applies(std::string_view setting, const ExportSettings& shape);

// The file dialog's filter and suffix for an output of the format, and what
// its files hold, for the size line.
struct OutputKind {
    const char* filter;
    const char* suffix;
    const char* text;
};
OutputKind OutputKindOf(ExportFormat format);

// "1,234 bytes"
QString ByteCount(std::size_t count);

} // namespace tessra
