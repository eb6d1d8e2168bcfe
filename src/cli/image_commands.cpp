#include "cli/image_commands.h"

#include "cli/cli_files.h"
#include "cli/cli_options.h"
#include "cli/image_output.h"
#include "core/base/message_text.h"
#include "core/formats/pcx.h"
#include "core/formats/png.h"
#include "core/model/tileset_paths.h"
#include "core/render/map_view.h"
#include "core/render/palette_build.h"
#include "core/render/tile_drawing.h"
#include "io/file_tileset.h"

#include <algorithm>
#include <charconv>
#include <optional>

namespace tessra {

namespace {

Result<ImageFormat> OutputFormat(const std::string& path) {
    const std::optional<ImageFormat> format = ImageFormatOf(path);
    if (!format) {
        return UsageError("Cannot write " + Shortened(path) +
                          ": the name must end in .png, .bmp or .ppm");
    }
    return *format;
}

Error CannotConvert(const std::string& path) {
    return Error{"Cannot convert " + Shortened(path) +
                 ": the editor does not draw this kind of PCX picture (it draws 8 bits x 1 "
                 "plane, 1 bit x 1 plane, 1 bit x 4 planes and 8 bits x 3 planes)"};
}

// PPM is written line by line as the picture is decoded; the other formats
// need the whole picture first.
Status RunPcxToImage(const std::vector<std::string>& args, std::ostream&) {
    const Result<ImageFormat> format = OutputFormat(args[1]);
    if (!format) {
        return format;
    }
    if (Status output = CheckNotAnInput(args[1], {&args[0], 1}); !output) {
        return output;
    }
    InputFile input;
    if (Status opened = input.Open(args[0]); !opened) {
        return opened;
    }
    // Every PCX file starts with the byte 10; a PNG is named as such.
    if (input.bytes().empty() || input.bytes()[0] != 0x0A) {
        return Error{"Cannot convert " + Shortened(args[0]) + ": it is not a PCX picture" +
                     (HasPngSignature(input.bytes()) ? " but a PNG one" : "")};
    }
    if (format.value() == ImageFormat::Ppm) {
        PpmLineWriter writer(args[1]);
        if (Status decoded = DecodePCX(input.bytes(), writer); !decoded) {
            return Error{Shortened(args[0]) + ": " + decoded.message()};
        }
        if (writer.kind() == PcxKind::Unsupported) {
            return CannotConvert(args[0]);
        }
        if (Status unchanged = input.CheckUnchanged(); !unchanged) {
            return unchanged;
        }
        return writer.Finish();
    }
    const Result<PcxImage> image = DecodePCX(input.bytes());
    if (!image) {
        return Error{Shortened(args[0]) + ": " + image.message()};
    }
    if (Status unchanged = input.CheckUnchanged(); !unchanged) {
        return unchanged;
    }
    if (image.value().kind == PcxKind::Unsupported) {
        return CannotConvert(args[0]);
    }
    return WriteImageFile(args[1], image.value().picture, format.value());
}

struct PaletteArgs {
    std::vector<std::string> files; // OUT, then the tilesets
    bool metatile = false;          // 8 x 8 quarters in numbering metatile's order
    std::optional<std::string> attributes;
};

Result<PaletteArgs> ReadPaletteArgs(const std::vector<std::string>& args) {
    PaletteArgs parsed;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (const auto layout = OptionValue(args, i, "--layout")) {
            if (*layout != "image" && *layout != "metatile") {
                return UsageError("The layout must be image or metatile, not '" +
                                  Shortened(*layout) + "'");
            }
            parsed.metatile = *layout == "metatile";
        } else if (const auto attributes = OptionValue(args, i, "--attributes")) {
            parsed.attributes = *attributes;
        } else if (args[i].starts_with("--")) {
            return UnknownOption(args[i]);
        } else {
            parsed.files.push_back(args[i]);
        }
    }
    if (parsed.metatile && parsed.attributes) {
        return UsageError("The metatile layout is tile data, drawn unflipped for the map's "
                          "entries to flip: it takes no --attributes");
    }
    return parsed;
}

Status RunPalette(const std::vector<std::string>& given, std::ostream&) {
    const Result<PaletteArgs> parsed = ReadPaletteArgs(given);
    if (!parsed) {
        return parsed;
    }
    const std::vector<std::string>& args = parsed.value().files;
    if (args.empty()) {
        return UsageError("palette takes OUT and the tilesets, given no file names");
    }
    const Result<ImageFormat> format = OutputFormat(args[0]);
    if (!format) {
        return format;
    }
    std::vector<std::string> inputs(args.begin() + 1, args.end());
    const std::vector<std::string> tilesets = inputs;
    if (parsed.value().attributes) {
        inputs.push_back(*parsed.value().attributes);
    }
    if (Status output = CheckNotAnInput(args[0], inputs); !output) {
        return output;
    }
    const Result<TileAttributeTable> attributes =
        parsed.value().attributes
            ? ReadTileAttributesFile(*parsed.value().attributes, MissingAttributes::Refused)
            : TileAttributeTable{};
    if (!attributes) {
        return attributes;
    }
    const Result<Surface> palette = BuildPalette(tilesets, {}, attributes.value());
    if (!palette) {
        return palette;
    }
    if (parsed.value().metatile) {
        return WriteImageFile(args[0], MetatilePalette(palette.value()), format.value());
    }
    return WriteImageFile(args[0], palette.value(), format.value());
}

struct RenderArgs {
    std::string map, out;
    std::optional<int> zoom;
    std::optional<ScrollPosition> scroll;
    std::optional<std::string> attributes;
};

// A whole number that fills the text; values beyond the map's reach are cut
// down, which leaves the scroll bars' clamp to do the rest.
std::optional<int> ReadWholeNumber(std::string_view text) {
    long long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size() || text.empty()) {
        return std::nullopt;
    }
    return static_cast<int>(std::clamp(value, -100000LL, 100000LL));
}

Result<int> ReadZoom(std::string_view text) {
    const std::optional<int> zoom = ReadWholeNumber(text);
    if (!zoom || *zoom < 0 || *zoom >= static_cast<int>(ZoomTable.size())) {
        return UsageError("The zoom must be 0, 1, 2 or 3 (1x, 2x, 4x or 8x), not '" +
                          Shortened(text) + "'");
    }
    return *zoom;
}

Result<ScrollPosition> ReadScroll(std::string_view text) {
    const std::size_t comma = text.find(',');
    const std::optional<int> x = ReadWholeNumber(text.substr(0, comma));
    const std::optional<int> y =
        comma == std::string_view::npos ? std::nullopt : ReadWholeNumber(text.substr(comma + 1));
    if (!x || !y) {
        return UsageError("The scroll position must be two whole numbers X,Y, not '" +
                          Shortened(text) + "'");
    }
    return ScrollPosition{*x, *y};
}

Result<RenderArgs> ReadRenderArgs(const std::vector<std::string>& args) {
    RenderArgs parsed;
    std::vector<std::string> files;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (const auto zoom = OptionValue(args, i, "--zoom")) {
            Result<int> value = ReadZoom(*zoom);
            if (!value) {
                return value;
            }
            parsed.zoom = value.value();
        } else if (const auto scroll = OptionValue(args, i, "--scroll")) {
            Result<ScrollPosition> value = ReadScroll(*scroll);
            if (!value) {
                return value;
            }
            parsed.scroll = value.value();
        } else if (const auto attributes = OptionValue(args, i, "--attributes")) {
            parsed.attributes = *attributes;
        } else if (args[i].starts_with("--")) {
            return UnknownOption(args[i]);
        } else {
            files.push_back(args[i]);
        }
    }
    if (files.size() != 2) {
        return UsageError("render takes MAP.tessra and OUT, given " + std::to_string(files.size()) +
                          " file names");
    }
    parsed.map = files[0];
    parsed.out = files[1];
    return parsed;
}

// The whole map a band at a time, in the order the file keeps its rows, so
// the 64 MB picture is never made; into a PPM file's bytes straight away.
Status WriteWholeMap(const std::string& path, ImageFormat format, const MapGrid& map,
                     const Surface& palette) {
    const auto file = ImageFileWriter::Open(path, format, WholeMapSide, WholeMapSide);
    const std::vector<std::uint8_t> packed = PackPalette(palette);
    Surface band;
    for (int i = 0; i < MapSize; ++i) {
        const int row = file->BottomUp() ? MapSize - 1 - i : i;
        if (std::uint8_t* out = file->RgbRows(TileSize)) {
            DrawWholeMapBand(map, packed, row, out);
        } else {
            DrawWholeMapBand(map, palette, row, band);
            file->AddRows(band);
        }
    }
    return file->Finish();
}

Status WriteMap(const RenderArgs& args, ImageFormat format, const MapGrid& map,
                const Surface& palette) {
    if (!args.zoom && !args.scroll) {
        return WriteWholeMap(args.out, format, map, palette);
    }
    const int zoom = args.zoom.value_or(0);
    const ScrollPosition scroll = ClampScrollForZoom(args.scroll.value_or(ScrollPosition{}), zoom);
    Surface view(ViewWidth, ViewHeight);
    RedrawMapView(map, palette, zoom, scroll.x, scroll.y, view);
    return WriteImageFile(args.out, view, format);
}

Status RunRender(const std::vector<std::string>& args, std::ostream&) {
    const Result<RenderArgs> parsed = ReadRenderArgs(args);
    if (!parsed) {
        return parsed;
    }
    const RenderArgs& render = parsed.value();
    const Result<ImageFormat> format = OutputFormat(render.out);
    if (!format) {
        return format;
    }
    if (Status output = CheckNotAnInput(render.out, {&render.map, 1}); !output) {
        return output;
    }
    const Result<Document> document =
        render.attributes ? ReadDocument(render.map, AttributesFrom::Named, *render.attributes)
                          : ReadDocument(render.map);
    if (!document) {
        return document;
    }
    std::vector<std::string> inputs = FilesOfMap(render.map, document.value());
    if (render.attributes) {
        inputs.push_back(*render.attributes);
    }
    if (Status output = CheckNotAnInput(render.out, inputs); !output) {
        return output;
    }
    const Result<Surface> palette = BuildPalette(
        document.value().Tilesets, document.value().ProjectFolder, document.value().Attributes);
    if (!palette) {
        return palette;
    }
    return WriteMap(render, format.value(), document.value().MapData, palette.value());
}

constexpr std::string_view FormatHelp =
    "The output's format follows its name: .png, .bmp or .ppm (binary P6), in any\n"
    "case. Any other name is refused with exit status 2 and nothing is written.\n"
    "OUT may be - for standard output, which gets PPM.\n";

} // namespace

std::vector<std::string> ResolveTilesets(const std::vector<std::string>& tilesets,
                                         const std::string& mapPath) {
    return ResolveTilesetPaths(tilesets, FolderOf(mapPath));
}

Subcommand PcxToImageCommand() {
    static const std::string help =
        "Decodes IN.pcx as the editor does and writes the picture to OUT. The editor\n"
        "draws 256-colour (8 bits x 1 plane), monochrome (1 x 1), 16-colour (1 x 4)\n"
        "and true colour (8 x 3) pictures; any other kind is refused.\n" +
        std::string(FormatHelp);
    return {"pcx-to-image",
            "IN.pcx OUT.png|OUT.bmp|OUT.ppm",
            "Decode a PCX picture and save it as PNG, BMP or PPM.",
            help,
            2,
            2,
            RunPcxToImage};
}

Subcommand PaletteCommand() {
    static const std::string help =
        "Builds the 256 x 256 tile palette from the tilesets in order, as the editor\n"
        "does: 16 x 16 tiles taken row by row, laid 16 to a row and numbered on across\n"
        "tilesets; tiles past 255 are dropped and unused squares stay black. A tileset\n"
        "is a PCX or PNG picture (a PNG is known by its content, whatever its name).\n"
        "A kind of PCX that the editor does not draw gives black tiles of its size; in\n"
        "a PNG, pixels less than half opaque are black. If a tileset cannot be read or\n"
        "decoded, every such file is named and nothing is written.\n"
        "With --layout metatile the picture is 128 x 512 instead: its 8 x 8 tile k, 16\n"
        "a row, is quarter k mod 4 (top-left, top-right, bottom-left, bottom-right) of\n"
        "tile k div 4, the tile data of export --numbering metatile. The plain picture\n"
        "(--layout image) already matches --numbering image. With --attributes FILE\n"
        "(a NAME.attributes.json) each tile is drawn as its attributes flip it, as the\n"
        "editor's palette shows it; that picture is not tile data, since a hardware\n"
        "map's entries do the flipping, and --layout metatile refuses it.\n" +
        std::string(FormatHelp);
    return {"palette",
            "OUT.png|OUT.bmp|OUT.ppm [TILESET.pcx|TILESET.png ...]\n"
            "          [--layout image|metatile] [--attributes FILE.attributes.json]",
            "Draw the tile palette built from a list of tilesets.",
            help,
            1,
            AnyNumberOfArguments,
            RunPalette};
}

Subcommand RenderCommand() {
    static const std::string help =
        "Draws the map of MAP.tessra with its tilesets, each tile flipped as its\n"
        "attributes say: those of --attributes FILE, else NAME.attributes.json beside\n"
        "the map (none when it is not there). Tileset paths that are relative are taken\n"
        "from MAP.tessra's folder. Without options the whole map is drawn at 1x\n"
        "(4096 x 4096). With --zoom Z (0..3: 1x, 2x, 4x, 8x) or --scroll X,Y (the map\n"
        "column and row at the top-left, 0,0 by default) the 512 x 448 map view is\n"
        "drawn as the editor shows it; X and Y are kept within the scroll bars' range\n"
        "for the zoom (0..224 and 0..228 at 1x, 0..252 both at 8x). Options may also be\n"
        "written --zoom=Z and --scroll=X,Y. A zoom outside 0..3, a malformed scroll\n"
        "position, an unknown option, damaged attributes and a tileset that fails to\n"
        "load are refused with exit status 1. Tilesets may be PCX or PNG pictures.\n" +
        std::string(FormatHelp);
    return {"render",
            "MAP.tessra OUT.png|OUT.bmp|OUT.ppm [--zoom Z] [--scroll X,Y]\n"
            "          [--attributes FILE.attributes.json]",
            "Draw a map, whole or as the editor's map view shows it.",
            help,
            2,
            8,
            RunRender};
}

} // namespace tessra
