#pragma once

namespace tessra {

// A page of the help collection (docs/help) and the context number its index
// keyword carries, so that a window can open it by either.
struct HelpTopic {
    const char* page;
    long context;
};

inline constexpr HelpTopic HelpContentsTopic{"index.html", 1000};
inline constexpr HelpTopic HelpManualTopic{"manual.html", 1001};
inline constexpr HelpTopic HelpMainWindowTopic{"main_window.html", 1100};
inline constexpr HelpTopic HelpMapViewTopic{"map_view.html", 1110};
inline constexpr HelpTopic HelpTilePaletteTopic{"tile_palette.html", 1120};
inline constexpr HelpTopic HelpProjectFilesTopic{"project_files.html", 1130};
inline constexpr HelpTopic HelpDrawTopic{"tool_draw.html", 1200};
inline constexpr HelpTopic HelpFloodfillTopic{"tool_floodfill.html", 1210};
inline constexpr HelpTopic HelpStampTopic{"tool_rubber_stamp.html", 1220};
inline constexpr HelpTopic HelpEraseTopic{"tool_erase.html", 1230};
inline constexpr HelpTopic HelpSelectTopic{"selections.html", 1240};
inline constexpr HelpTopic HelpImportCsvTopic{"import_csv.html", 1300};
inline constexpr HelpTopic HelpMapfileGeneratorTopic{"map_generation.html", 1400};
inline constexpr HelpTopic HelpExportTopic{"export.html", 1410};
inline constexpr HelpTopic HelpTileAttributesTopic{"tile_attributes.html", 1420};
inline constexpr HelpTopic HelpStampBuilderTopic{"rubber_stamp_builder.html", 1500};
inline constexpr HelpTopic HelpTileSwapTopic{"tile_swap.html", 1600};
inline constexpr HelpTopic HelpTileReplaceTopic{"tile_replace.html", 1610};
inline constexpr HelpTopic HelpAboutTopic{"about.html", 1700};
inline constexpr HelpTopic HelpViewerTopic{"help_viewer.html", 1800};
inline constexpr HelpTopic HelpUndoTopic{"undo.html", 1140};
inline constexpr HelpTopic HelpKeyboardTopic{"keyboard.html", 1150};
inline constexpr HelpTopic HelpNewMapTopic{"new_map.html", 1310};
inline constexpr HelpTopic HelpStampFilesTopic{"stamp_files.html", 1510};
inline constexpr HelpTopic HelpTileShiftTopic{"tile_shift.html", 1620};
inline constexpr HelpTopic HelpMapShiftTopic{"map_shift.html", 1630};
inline constexpr HelpTopic HelpCommandLineTopic{"command_line.html", 1900};
inline constexpr HelpTopic HelpPngTilesetsTopic{"png_tilesets.html", 1125};
inline constexpr HelpTopic HelpTiledTopic{"tiled.html", 1910};
inline constexpr HelpTopic HelpTileUsageTopic{"tile_usage.html", 1640};
inline constexpr HelpTopic HelpWindowTopic{"window.html", 1160};
inline constexpr HelpTopic HelpRecoveryTopic{"recovery.html", 1170};
inline constexpr HelpTopic HelpPictureToMapTopic{"picture_to_map.html", 1320};
inline constexpr HelpTopic HelpBuildTopic{"build.html", 1920};

} // namespace tessra
