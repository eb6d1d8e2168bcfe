#include "core/recent_files.h"

#include <algorithm>

namespace tessra {

std::vector<std::string> AddRecentFile(std::vector<std::string> recent, const std::string& path) {
    std::erase(recent, path);
    recent.insert(recent.begin(), path);
    if (recent.size() > RecentFileCount) {
        recent.resize(RecentFileCount);
    }
    return recent;
}

} // namespace tessra
