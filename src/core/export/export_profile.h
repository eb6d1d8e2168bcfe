#pragma once

#include "core/base/result.h"
#include "core/export/export_settings.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace tessra {

// A profile is a few lines; anything larger is not one.
inline constexpr std::size_t ExportProfileMaxSize = 64 * 1024;

// The export settings kept beside a map, in NAME.export.json: the settings,
// the output file (relative to the map's folder unless absolute) and whether
// each save of the map also exports it.
struct ExportProfile {
    ExportSettings Settings;
    std::string Output;
    bool ExportOnSave = false;

    bool operator==(const ExportProfile&) const = default;
};

// NAME.export.json beside NAME.tessra (beside MAP.export.json for any other name).
std::string ExportProfilePath(std::string_view mapPath);

// A JSON object with every setting under its name, as text (offset as a
// number), then "output" and "exportOnSave".
std::string WriteExportProfileBytes(const ExportProfile& profile);

// Reads a profile; keys left out keep their defaults. A refusal names
// fileName and what is wrong: not JSON (with the line and column), not an
// object, an unknown key, a value of the wrong kind or a setting's value out
// of its range. Larger than ExportProfileMaxSize is refused unread. The
// settings are not checked against each other, since the command line may
// still change them.
Result<ExportProfile> ParseExportProfile(std::string_view bytes, std::string_view fileName);

// The output path a profile names, as a path from where the map was opened.
std::string ResolveExportOutput(std::string_view mapPath, std::string_view output);

// outputPath as a profile keeps it: relative to the map's folder when it can be.
std::string RelativeExportOutput(std::string_view mapPath, std::string_view outputPath);

// The files the settings name (tiles, palettes, palette files) as paths from
// where the map was opened, as a profile's output is read; and back to how a
// profile keeps them.
void ResolveExportPaths(ExportSettings& settings, std::string_view mapPath);
void RelativeExportPaths(ExportSettings& settings, std::string_view mapPath);

} // namespace tessra
