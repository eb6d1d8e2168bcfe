#pragma once

// Every map of a folder brought up to date as its export profile says, as
// tessra-cli build and File > Build All do it.

#include "core/base/result.h"

#include <functional>
#include <string>
#include <vector>

namespace tessra {

struct BuildOptions {
    std::string Folder = ".";
    int Jobs = 0;         // maps exported at once; 0: one for each core
    std::string Depfile;  // a make dependency file to write; empty: none
    bool Compact = false; // renumber each bank without the tiles no map uses
};

// What became of one output: written, left as it was (its bytes would not
// change), or not written because its map failed.
enum class OutputState { Written, Left, Failed };

struct BuildOutput {
    std::string Path;
    OutputState State = OutputState::Written;
    std::string Map; // the map it was made for; a bank's outputs name the bank
};

struct BuildFailure {
    std::string Map; // the map's project file, or a bank's file
    std::string Message;
};

struct BuildReport {
    std::vector<std::string> Maps; // every map with a profile, in order
    std::vector<BuildOutput> Outputs;
    std::vector<BuildFailure> Failures;
    std::vector<std::string> Notes; // what happened to the banks
    int Count(OutputState state) const;
};

// "Built 3 maps: 4 outputs written, 9 left as they were, 0 failed."
std::string BuildSummary(const BuildReport& report);

// Every NAME.tessra under the folder that has a NAME.export.json beside it,
// in the order of their paths; folders the folder's .tessraignore names (one
// a line, from the folder; # starts a comment) and hidden ones are skipped.
Result<std::vector<std::string>> FindBuildMaps(const std::string& folder);

// Called as maps are done (from the threads that build them, one at a time).
using BuildProgress = std::function<void(int done, int total)>;

// Every map FindBuildMaps finds, exported as its profile says, maps in
// parallel. A map that fails is named in the report with its message and the
// others are still built. Maps that name one bank join it one after the
// other in the order of their paths, so that numbers do not hang on which
// thread ran first. What was built is kept in the folder's .tessra-build, so
// that a map none of whose files changed since is not read again. An error
// comes back only when the folder itself cannot be read or the depfile not
// written.
Result<BuildReport> RunBuild(const BuildOptions& options, const BuildProgress& progress = nullptr);

} // namespace tessra
