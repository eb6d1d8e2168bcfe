#pragma once

#include "core/base/result.h"
#include "io/file_io.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tessra {

// A file named so on the command line is standard input or standard output.
inline constexpr std::string_view StandardStreamName = "-";

// One of several files written together.
struct FileContent {
    std::string path;
    std::span<const std::uint8_t> bytes;
    Durability durability = Durability::Document;
    // An output that already holds these bytes is left as it is, its time
    // and inode too, so that make remakes nothing made from it.
    bool leaveIfSame = false;
};

// What a group write did with each of its files.
enum class FileOutcome { Written, Left };

// Writes every file whole to a temporary one before any takes its place, then
// renames them in order; one named StandardStreamName goes to standard output.
// A target that cannot be written (a folder, a dangling link, a full disk)
// leaves every file as it was. Renames cannot be one step: should one fail
// after another has taken place, the message says which files were written.
// With `outcomes`, each file's, in order, once all have taken their place.
Status WriteFilesAtomic(std::span<const FileContent> files,
                        std::vector<FileOutcome>* outcomes = nullptr);

} // namespace tessra
