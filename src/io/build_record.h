#pragma once

// What the last build made, kept in the folder's .tessra-build, so that a
// build reads no map none of whose files changed since. It is a cache: a
// record that is missing, damaged or from another version of TESSRA only
// makes every map be built again.

#include "core/base/result.h"
#include "io/file_io.h"

#include <optional>
#include <string>
#include <vector>

namespace tessra {

// A file as the build found it: its identity, or none when it did not exist.
struct BuiltFile {
    std::string Path;
    std::optional<FileIdentity> Identity;

    bool operator==(const BuiltFile&) const = default;
};

// One map built: the files it was made from (its bank's file among them),
// the files it wrote and its bank's outputs, as they were when the build
// finished.
struct BuiltMap {
    std::string Map;
    std::string Bank; // empty: none
    std::vector<BuiltFile> Inputs, Outputs, Shared;

    bool operator==(const BuiltMap&) const = default;
};

using BuildRecord = std::vector<BuiltMap>;

std::string BuildRecordPath(const std::string& folder);

// The record of the folder's last build; empty when there is none to trust.
BuildRecord ReadBuildRecord(const std::string& folder);

// Replaces the record whole, unless it would not change.
Status WriteBuildRecord(const std::string& folder, const BuildRecord& record);

// The file as it is now.
BuiltFile FindFile(const std::string& path);

// Whether every file the map was made from and every file it wrote is still
// as the record says.
bool StillAsBuilt(const BuiltMap& map);

} // namespace tessra
