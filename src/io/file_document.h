#pragma once

// A map's document and the files it is kept in: the project file NAME.tessra,
// and beside it the tile attributes NAME.attributes.json and the export
// profile NAME.export.json. The editor and tessra-cli read and write a map
// only through here.

#include "core/base/result.h"
#include "core/export/export_profile.h"
#include "core/formats/project_file.h"
#include "core/model/document.h"
#include "io/file_group.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tessra {

// The files that belong to the map at mapPath ("" for a map without a file),
// which nothing made from it may replace: the map, its tile attributes and
// its export profile beside it, and its tileset pictures, resolved against
// the document's folder.
std::vector<std::string> FilesOfMap(const std::string& mapPath, const Document& document);

// Writes a file made from the map at mapPath ("" for a map without a file),
// through a temporary one synced before it takes its place, once it is none
// of the map's files. errorCode receives the system's error number, or 0 for
// a refusal.
Status WriteFromMap(const std::string& path, std::span<const std::uint8_t> bytes,
                    const std::string& mapPath, const Document& document, int& errorCode);

// Reads and parses a project file; "-" reads standard input.
Result<ProjectData> ReadProjectFile(const std::string& path);

// Whether a tile attributes file that does not exist reads as all zeros (the
// file beside a map) or is refused (a file the user named).
enum class MissingAttributes { AllZeros, Refused };

// Reads a tile attributes file, no more than the largest it may be; a failure
// names the file and the reason.
Result<TileAttributeTable> ReadTileAttributesFile(const std::string& path,
                                                  MissingAttributes missing);

// Where a document's tile attributes come from: NAME.attributes.json beside
// the map, all zeros when there is none; a file named, which must exist; or
// nowhere, all zeros, for a reader that does not use them.
enum class AttributesFrom { Beside, Named, Nowhere };

// The project file and its tile attributes, read whole, the tileset paths
// taken from the map's folder. Attributes that cannot be read refuse the map:
// taken as zeros, a save would write them so.
Result<Document> ReadDocument(const std::string& mapPath,
                              AttributesFrom from = AttributesFrom::Beside,
                              const std::string& attributesPath = {});

// Writes the document at mapPath: the project file, its relative tileset
// paths rebased from the document's folder to the map's, the tile attributes
// beside it, and with a profile its export settings, its output written
// relative to the map. All are written whole before any takes its place, and
// none may replace one of the tilesets. A map whose tiles have no attributes
// gets no attributes file: one left from before is removed.
//
// With `previous`, the files replaced are kept first, once the save is known
// to be allowed, as NAME.tessra.bak and NAME.tessra.bak.attributes.json (so
// that opening the .bak file brings both back); a failure to keep them is
// told there, and the save goes on, as it matters more.
//
// `alongside` are files made with the map (the tileset picture of a map cut
// from a level picture), written in the same group after the document's.
Status WriteDocument(const std::string& mapPath, const Document& document,
                     const ExportProfile* profile = nullptr, Status* previous = nullptr,
                     std::span<const FileContent> alongside = {});

} // namespace tessra
