#pragma once

#include "core/base/result.h"
#include "core/edit/stamp_builder.h"
#include "core/model/editor_state.h"

#include <string>
#include <string_view>

namespace tessra {

inline constexpr std::string_view StampFileHeader = "TESSRA-STAMP 1";

// A stamp as a *.tstamp file holds it: Width x Height cells (2..8 each) in the
// top-left corner of Cells; the cells outside that block are 0.
struct StampFile {
    int Width = 2;
    int Height = 2;
    StampCells Cells{};
};

// The file's bytes, every line ending in CRLF:
//   TESSRA-STAMP 1
//   <width> <height>
//   <height lines of width tile numbers, separated by one blank>
// Only the width x height block is written; hidden cells are not.
std::string WriteStampBytes(int width, int height, const StampCells& cells);

// Reads a stamp file whole or not at all. CRLF and LF line ends, blanks and tabs
// around numbers, a UTF-8 byte order mark and empty lines after the last row
// are accepted. A refusal names fileName and the line at fault.
Result<StampFile> ParseStamp(std::string_view bytes, std::string_view fileName);

// "&Save Stamp" in the builder: the size and cells shown there.
std::string WriteBuilderStamp(const StampBuilderModel& builder, const EditorState& state);

// "&Load Stamp" in the builder: takes the file's size and copies its block into
// StampBuilderData. Cells outside the block keep their values, hidden, as they
// do when the size lists shrink the stamp. OK still decides whether StampData
// changes.
void LoadBuilderStamp(const StampFile& stamp, StampBuilderModel& builder, EditorState& state);

} // namespace tessra
