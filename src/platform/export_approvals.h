#pragma once

#include <optional>
#include <string>

namespace tessra {

// Whether an export on save may write a file outside its map's folder, as the
// user answered for each map and output, kept in the settings across runs: a
// map from someone else may name any file.
class ExportApprovals {
  public:
    // The answer given for the map and output, both whole paths; none yet.
    std::optional<bool> Answer(const std::string& map, const std::string& output) const;
    void Remember(const std::string& map, const std::string& output, bool allowed);
};

} // namespace tessra
