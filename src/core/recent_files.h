#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace tessra {

inline constexpr std::size_t RecentFileCount = 8;

// The list of recently used maps after `path` was used: it comes first, once,
// and the list keeps the newest RecentFileCount.
std::vector<std::string> AddRecentFile(std::vector<std::string> recent, const std::string& path);

} // namespace tessra
