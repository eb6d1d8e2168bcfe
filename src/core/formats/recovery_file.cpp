#include "core/formats/recovery_file.h"

namespace tessra {

namespace {

constexpr std::string_view Signature = "TESSRA recovery copy";

// Takes one line off the front of text, without its CRLF or LF.
std::optional<std::string_view> TakeLine(std::string_view& text) {
    const std::size_t end = text.find('\n');
    if (end == std::string_view::npos) {
        return std::nullopt;
    }
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end + 1);
    if (line.ends_with('\r')) {
        line.remove_suffix(1);
    }
    return line;
}

} // namespace

std::string WriteRecoveryBytes(const std::string& fileName, const std::string& projectFolder,
                               const std::vector<std::string>& tilesets, const MapGrid& map) {
    std::string bytes;
    bytes.append(Signature).append("\r\n");
    bytes.append(fileName).append("\r\n");
    bytes.append(projectFolder).append("\r\n");
    bytes += WriteProjectBytes(tilesets, map);
    return bytes;
}

Result<RecoveryCopy> ParseRecovery(std::string_view bytes, std::string_view copyName) {
    const std::optional<std::string_view> signature = TakeLine(bytes);
    const std::optional<std::string_view> fileName = TakeLine(bytes);
    const std::optional<std::string_view> folder = TakeLine(bytes);
    if (signature != Signature || !folder) {
        return Error{std::string(copyName) + " is not a TESSRA recovery copy."};
    }
    Result<ProjectData> project = ParseProject(bytes, copyName);
    if (!project) {
        return Error{project.error()};
    }
    return RecoveryCopy{std::string(*fileName), std::string(*folder), std::move(project).value()};
}

} // namespace tessra
