#include "core/base/json_file.h"

namespace tessra {

std::string JsonParseProblem(const nlohmann::json::parse_error& error) {
    std::string what = error.what();
    if (const std::size_t start = what.find("] "); start != std::string::npos) {
        what.erase(0, start + 2);
    }
    if (const std::size_t cut = what.find("; last read"); cut != std::string::npos) {
        what.erase(cut);
    }
    return what;
}

} // namespace tessra
