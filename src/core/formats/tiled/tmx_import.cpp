#include "core/formats/tiled/tmx_import.h"

#include "core/base/message_text.h"
#include "core/edit/tileset_order.h"
#include "core/formats/tiled/tmx_layer_data.h"
#include "core/formats/tiled/tmx_map.h"
#include "core/formats/tileset_picture.h"
#include "core/model/tileset_paths.h"
#include "core/render/palette_build.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <new>

namespace tessra {

namespace {

// Tiled keeps a cell's flips and rotations in the top bits of its number.
constexpr std::uint32_t FlipBits = 0xF0000000u;

std::string_view AsText(std::span<const std::uint8_t> bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

Error In(const std::string& file, const std::string& message) {
    return Error{file + ": " + message};
}

// A path written in a Tiled file is relative to that file's folder.
std::string Resolve(const std::string& folder, const std::string& written) {
    const std::filesystem::path path(written);
    return (path.is_absolute() ? path : std::filesystem::path(folder) / path)
        .lexically_normal()
        .string();
}

std::string Size(long long width, long long height) {
    return std::to_string(width) + " x " + std::to_string(height);
}

Status CheckMap(const TiledMap& map) {
    if (map.orientation != "orthogonal") {
        return Error{"the map is " + map.orientation + "; TESSRA reads orthogonal maps only"};
    }
    if (map.tileWidth != TileSize || map.tileHeight != TileSize) {
        return Error{"its tiles are " + Size(map.tileWidth, map.tileHeight) +
                     " pixels; TESSRA's tiles are 16 x 16"};
    }
    if (map.infinite || map.layer.chunked) {
        return Error{"the map is infinite; TESSRA reads maps of a fixed size, at most 256 x 256 "
                     "cells"};
    }
    if (map.width > MapSize || map.height > MapSize) {
        return Error{"the map is " + Size(map.width, map.height) +
                     " cells; TESSRA's map holds at most 256 x 256"};
    }
    if (map.tileLayerNames.empty()) {
        return Error{"the map has no tile layer"};
    }
    return {};
}

std::string Label(const TiledTileset& tileset, std::size_t index) {
    return tileset.name.empty() ? "tileset " + std::to_string(index + 1)
                                : "tileset \"" + tileset.name + "\"";
}

Status CheckTileset(const TiledTileset& tileset, const std::string& label) {
    if (tileset.imageCollection) {
        return Error{label + " is a collection of separate pictures; TESSRA reads tilesets cut "
                             "from one picture"};
    }
    if (tileset.image.empty()) {
        return Error{label + " has no picture"};
    }
    if (tileset.tileWidth != TileSize || tileset.tileHeight != TileSize) {
        return Error{label + " has tiles of " + Size(tileset.tileWidth, tileset.tileHeight) +
                     " pixels; TESSRA's tiles are 16 x 16"};
    }
    if (tileset.margin != 0 || tileset.spacing != 0) {
        return Error{label + " has a margin of " + std::to_string(tileset.margin) +
                     " and a spacing of " + std::to_string(tileset.spacing) +
                     " pixels; TESSRA cuts pictures with neither"};
    }
    if (tileset.firstGid < 1) {
        return Error{label + " has no first tile number (firstgid)"};
    }
    return {};
}

struct Picture {
    std::string path;
    int width = 0, height = 0;
    int firstTile = 0; // the TESSRA number of its first tile
};

// One tileset of the map, pointing at its picture.
struct TilesetUse {
    long long firstGid = 0;
    std::string label;
    std::size_t picture = 0;
    long long columns = 0, rows = 0; // as Tiled cuts the picture
};

// Gathers the tilesets and their pictures, reading each picture once.
class Tilesets {
  public:
    Tilesets(const std::string& mapPath, const FileReader& read) : mapPath_(mapPath), read_(read) {}

    Status Add(const TiledTileset& entry, std::size_t index) {
        TiledTileset tileset = entry;
        std::string file = mapPath_;
        if (!entry.source.empty()) {
            file = Resolve(FolderOf(mapPath_), entry.source);
            const Result<TiledTileset> parsed = TilesetFile(file);
            if (!parsed) {
                return Error{parsed.message()};
            }
            tileset = parsed.value();
            tileset.firstGid = entry.firstGid;
        }
        const std::string label = Label(tileset, index);
        if (Status checked = CheckTileset(tileset, label); !checked) {
            return In(file, checked.message());
        }
        const Result<std::size_t> picture = PictureOf(Resolve(FolderOf(file), tileset.image));
        if (!picture) {
            return Error{picture.message()};
        }
        const Picture& shown = pictures_[picture.value()];
        uses_.push_back({tileset.firstGid, label, picture.value(), shown.width / TileSize,
                         shown.height / TileSize});
        return {};
    }

    // The TESSRA number of a Tiled tile (flags removed, not 0), or why it has
    // none, worded to follow "Tiled tile N at cell (x, y)".
    Result<int> Number(std::uint32_t gid) const {
        const TilesetUse* use = nullptr;
        for (const TilesetUse& candidate : uses_) {
            if (candidate.firstGid <= gid && (!use || candidate.firstGid > use->firstGid)) {
                use = &candidate;
            }
        }
        if (!use) {
            return Error{" belongs to no tileset"};
        }
        const long long local = gid - use->firstGid;
        if (local >= use->columns * use->rows) {
            return Error{" lies past the last tile of " + use->label};
        }
        const Picture& picture = pictures_[use->picture];
        const std::optional<int> tile =
            TileOfPicture(picture.width, picture.height, TileSize * int(local % use->columns),
                          TileSize * int(local / use->columns));
        const std::string none =
            ", tile " + std::to_string(local) + " of " + use->label + ", has no TESSRA number: ";
        if (!tile) {
            return Error{none + "TESSRA does not cut that square out of " +
                         Shortened(picture.path)};
        }
        const long long number = picture.firstTile + static_cast<long long>(*tile);
        if (number >= TileCount) {
            return Error{none + "it would be tile " + std::to_string(number) + ", past 255"};
        }
        return static_cast<int>(number);
    }

    std::vector<std::string> Paths() const {
        std::vector<std::string> paths;
        for (const Picture& picture : pictures_) {
            paths.push_back(picture.path);
        }
        return paths;
    }

  private:
    // A tileset file named by many tilesets is read once.
    const Result<TiledTileset>& TilesetFile(const std::string& file) {
        const auto known = files_.find(file);
        if (known != files_.end()) {
            return known->second;
        }
        const Result<std::vector<std::uint8_t>> bytes = read_(file);
        Result<TiledTileset> parsed = bytes ? ParseTiledTileset(AsText(bytes.value()))
                                            : Result<TiledTileset>(Error{bytes.message()});
        if (bytes && !parsed) {
            parsed = In(file, parsed.message());
        }
        return files_.emplace(file, std::move(parsed)).first->second;
    }

    Result<std::size_t> PictureOf(const std::string& path) {
        const auto known = std::find_if(pictures_.begin(), pictures_.end(),
                                        [&](const Picture& p) { return p.path == path; });
        if (known != pictures_.end()) {
            return static_cast<std::size_t>(known - pictures_.begin());
        }
        // The project lists the picture by a path that may start at its name.
        for (const std::string& form : {path, ListedName(path)}) {
            if (Status checked = CheckTilesetPath(form); !checked) {
                return Error{Shortened(path) + ": " + checked.message()};
            }
        }
        const Result<std::vector<std::uint8_t>> bytes = read_(path);
        if (!bytes) {
            return Error{bytes.message()};
        }
        long long first = 0;
        if (!pictures_.empty()) {
            const Picture& last = pictures_.back();
            first =
                last.firstTile + static_cast<long long>(TilesetTileCount(last.width, last.height));
        }
        // Past a full palette a picture is measured, not decoded, as the
        // palette itself does: none of its tiles can have a number.
        std::optional<std::pair<int, int>> size;
        if (first >= TileCount) {
            size = TilesetPictureSizeOfHead(bytes.value());
        }
        if (!size) {
            const Result<Surface> decoded = DecodeTilesetPicture(bytes.value(), path);
            if (!decoded) {
                return Error{decoded.message()};
            }
            size.emplace(decoded.value().Width(), decoded.value().Height());
        }
        const auto [width, height] = *size;
        pictures_.push_back({path, width, height, static_cast<int>(std::min(first, 1LL << 30))});
        return pictures_.size() - 1;
    }

    const std::string& mapPath_;
    const FileReader& read_;
    std::map<std::string, Result<TiledTileset>> files_;
    std::vector<Picture> pictures_;
    std::vector<TilesetUse> uses_;
};

Status FillMap(const TiledLayer& layer, const std::vector<std::uint32_t>& gids,
               const Tilesets& tilesets, TiledImport& import) {
    for (long long y = 0; y < layer.height; ++y) {
        for (long long x = 0; x < layer.width; ++x) {
            std::uint32_t gid = gids[static_cast<std::size_t>(y * layer.width + x)];
            import.flippedCells += (gid & FlipBits) != 0;
            gid &= ~FlipBits;
            if (gid == 0) {
                ++import.emptyCells;
                continue;
            }
            const Result<int> number = tilesets.Number(gid);
            if (!number) {
                return Error{"Tiled tile " + std::to_string(gid) + " at cell (" +
                             std::to_string(x) + ", " + std::to_string(y) + ")" + number.message()};
            }
            import.project.MapData(static_cast<int>(x), static_cast<int>(y)) =
                static_cast<std::uint8_t>(number.value());
        }
    }
    return {};
}

Result<TiledImport> ReadTiledMap(std::span<const std::uint8_t> file, const std::string& path,
                                 const FileReader& read) {
    const Result<TiledMap> parsed = ParseTiledMap(AsText(file));
    if (!parsed) {
        return In(path, parsed.message());
    }
    const TiledMap& map = parsed.value();
    if (Status checked = CheckMap(map); !checked) {
        return In(path, checked.message());
    }
    const Result<std::vector<std::uint32_t>> gids = DecodeLayerData(map.layer);
    if (!gids) {
        return In(path, "tile layer \"" + map.layer.name + "\": " + gids.message());
    }
    Tilesets tilesets(path, read);
    for (std::size_t i = 0; i < map.tilesets.size(); ++i) {
        if (Status added = tilesets.Add(map.tilesets[i], i); !added) {
            return Error{added.message()};
        }
    }
    TiledImport import;
    import.layerName = Printable(map.layer.name);
    import.tileLayerCount = static_cast<int>(map.tileLayerNames.size());
    if (Status filled = FillMap(map.layer, gids.value(), tilesets, import); !filled) {
        return In(path, filled.message());
    }
    import.project.Tilesets = tilesets.Paths();
    return import;
}

} // namespace

// Messages quote the file's own text: kept printable.
Result<TiledImport> ImportTiledMap(std::span<const std::uint8_t> file, const std::string& path,
                                   const FileReader& read) {
    try {
        Result<TiledImport> import = ReadTiledMap(file, path, read);
        if (!import) {
            return Error{Printable(import.message())};
        }
        return import;
    } catch (const std::bad_alloc&) {
        return Error{Printable(path) + ": there is not enough memory to read it"};
    }
}

std::vector<std::string> DescribeTiledImport(const TiledImport& import) {
    std::vector<std::string> lines;
    if (import.tileLayerCount > 1) {
        lines.push_back("Took tile layer \"" + import.layerName + "\", the first of " +
                        std::to_string(import.tileLayerCount) + " tile layers.");
    }
    const auto cells = [](int count) {
        return std::to_string(count) + (count == 1 ? " cell" : " cells");
    };
    lines.push_back(cells(import.emptyCells) + (import.emptyCells == 1 ? " was" : " were") +
                    " empty and became tile 0.");
    lines.push_back(cells(import.flippedCells) + (import.flippedCells == 1 ? " was" : " were") +
                    " flipped or rotated and lost the flags.");
    return lines;
}

} // namespace tessra
