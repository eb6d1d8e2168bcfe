#include "core/formats/tiled/tmx_map.h"

#include "core/base/message_text.h"

namespace tessra {

namespace {

enum class Format { Xml, Json, Utf16, Neither };

// Tiled's two formats differ from the first character on; a BOM may lead.
Format FormatOf(std::string_view text) {
    if (IsUtf16Text(text)) {
        return Format::Utf16;
    }
    if (text.starts_with("\xEF\xBB\xBF")) {
        text.remove_prefix(3);
    }
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) {
        return Format::Neither;
    }
    return text[first] == '<' ? Format::Xml : text[first] == '{' ? Format::Json : Format::Neither;
}

Error NotTiled(const char* what) {
    return Error{std::string("it is not a Tiled ") + what + " (neither XML nor JSON)"};
}

} // namespace

Result<TiledMap> ParseTiledMap(std::string_view text) {
    switch (FormatOf(text)) {
    case Format::Xml:
        return ParseTiledMapXml(text);
    case Format::Json:
        return ParseTiledMapJson(text);
    case Format::Utf16:
        return Error{std::string(Utf16Refusal)};
    case Format::Neither:
        break;
    }
    return NotTiled("map");
}

Result<TiledTileset> ParseTiledTileset(std::string_view text) {
    switch (FormatOf(text)) {
    case Format::Xml:
        return ParseTiledTilesetXml(text);
    case Format::Json:
        return ParseTiledTilesetJson(text);
    case Format::Utf16:
        return Error{std::string(Utf16Refusal)};
    case Format::Neither:
        break;
    }
    return NotTiled("tileset");
}

} // namespace tessra
