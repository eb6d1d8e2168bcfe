#include "core/formats/recovery_file.h"

#include "core/formats/project_file.h"

#include <charconv>

namespace tessra {

namespace {

constexpr std::string_view Signature = "TESSRA recovery copy";
constexpr std::string_view AttributesLine = "attributes ";

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

// "attributes N" and the N bytes after it, taken off the front of text.
std::optional<std::string_view> TakeAttributes(std::string_view& text) {
    std::string_view rest = text;
    const std::optional<std::string_view> line = TakeLine(rest);
    if (!line || !line->starts_with(AttributesLine)) {
        return std::nullopt;
    }
    const std::string_view digits = line->substr(AttributesLine.size());
    std::size_t size = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), size);
    if (error != std::errc{} || end != digits.data() + digits.size() || size > rest.size()) {
        return std::string_view(); // damaged: refused by the reader of the attributes
    }
    text = rest.substr(size);
    return rest.substr(0, size);
}

} // namespace

std::string WriteRecoveryBytes(const std::string& fileName, const Document& document) {
    std::string bytes;
    bytes.append(Signature).append("\r\n");
    bytes.append(fileName).append("\r\n");
    bytes.append(document.ProjectFolder).append("\r\n");
    if (document.Attributes != TileAttributeTable{}) {
        const std::string attributes = WriteTileAttributesBytes(document.Attributes);
        bytes.append(AttributesLine).append(std::to_string(attributes.size())).append("\r\n");
        bytes += attributes;
    }
    bytes += WriteProjectBytes(document.Tilesets, document.MapData);
    return bytes;
}

Result<RecoveryCopy> ParseRecovery(std::string_view bytes, std::string_view copyName) {
    const std::optional<std::string_view> signature = TakeLine(bytes);
    const std::optional<std::string_view> fileName = TakeLine(bytes);
    const std::optional<std::string_view> folder = TakeLine(bytes);
    if (signature != Signature || !folder) {
        return Error{std::string(copyName) + " is not a TESSRA recovery copy."};
    }
    RecoveryCopy copy{std::string(*fileName), {}};
    copy.Content.ProjectFolder = *folder;
    if (const std::optional<std::string_view> attributes = TakeAttributes(bytes)) {
        Result<TileAttributeTable> table = ParseTileAttributes(*attributes, copyName);
        if (!table) {
            return Error{table.error()};
        }
        copy.Content.Attributes = table.value();
    }
    Result<ProjectData> project = ParseProject(bytes, copyName);
    if (!project) {
        return Error{project.error()};
    }
    copy.Content.Tilesets = std::move(project.value().Tilesets);
    copy.Content.MapData = project.value().MapData;
    return copy;
}

} // namespace tessra
