#include "core/render/palette_build.h"

#include "core/base/message_text.h"
#include "core/model/tileset_paths.h"
#include "core/render/tile_drawing.h"

#include <algorithm>
#include <filesystem>
#include <map>

namespace tessra {
namespace {

// The key under which a resolved path is decoded once: "./a.pcx" and "a.pcx" agree.
std::string FileKey(const std::string& path) {
    return std::filesystem::path(path).lexically_normal().string();
}

bool PaletteFull(const EditorState& state) {
    return state.PaletteCursorY >= PaletteHeight;
}

// The tile number the next appended tile takes.
int TileNumberAtCursor(const EditorState& state) {
    return PaletteColumns * (state.PaletteCursorY / TileSize) + state.PaletteCursorX / TileSize;
}

// count places of tiles drawn as missing, in one strip.
Surface MissingTiles(int count) {
    Surface tiles(count * TileSize, TileSize);
    for (int y = 0; y < tiles.Height(); ++y) {
        for (int x = 0; x < tiles.Width(); ++x) {
            tiles.Set(x, y, MissingTilePixel(x, y));
        }
    }
    return tiles;
}

} // namespace

Pixel MissingTilePixel(int x, int y) {
    return (x / (TileSize / 2) + y / (TileSize / 2)) % 2 == 0 ? Rgb(255, 0, 255) : Black;
}

void AppendTilesetToPalette(const Surface& decoded, Surface& palette, EditorState& state) {
    const int width = decoded.Width();
    const int count = TilesetTileCount(width, decoded.Height());
    int sx = 0;
    int sy = 0;
    for (int n = 0; n < count && !PaletteFull(state); ++n) {
        BitBlt(palette, state.PaletteCursorX, state.PaletteCursorY, TileSize, TileSize, decoded, sx,
               sy);
        // A width that is no multiple of 16 moves down at the first position past
        // the edge instead of running on along the top strip.
        sx += TileSize;
        if (sx >= width) {
            sx = 0;
            sy += TileSize;
        }
        state.PaletteCursorX = static_cast<std::int16_t>(state.PaletteCursorX + TileSize);
        if (state.PaletteCursorX >= PaletteWidth) {
            state.PaletteCursorX = 0;
            state.PaletteCursorY = static_cast<std::int16_t>(state.PaletteCursorY + TileSize);
        }
    }
}

PaletteBuild ReloadTilesets(EditorState& state, Surface& palette, const TilesetLoader& load,
                            const TilesetCounter& countTiles, std::span<const int> held) {
    state.PaletteCursorX = 0;
    state.PaletteCursorY = 0;
    palette.Resize(PaletteWidth, PaletteHeight);
    const std::size_t count = state.Tilesets.size();
    std::vector<std::string> keys(count);
    std::map<std::string, std::size_t> lastUse;
    for (std::size_t i = 0; i < count; ++i) {
        keys[i] = FileKey(ResolveTilesetPath(state.Tilesets[i], state.ProjectFolder));
        lastUse[keys[i]] = i;
    }
    // Pictures wanted again further down the list, kept until their last use.
    std::map<std::string, Result<Surface>> kept;
    PaletteBuild build;
    build.tileCounts.assign(count, NotRead);
    for (std::size_t i = 0; i < count; ++i) {
        auto found = kept.find(keys[i]);
        if (found == kept.end() && countTiles && PaletteFull(state)) {
            if (const std::optional<int> tiles = countTiles(keys[i])) {
                build.tileCounts[i] = *tiles;
                if (*tiles > 0) {
                    build.leftOut.push_back({state.Tilesets[i], *tiles});
                }
                continue;
            }
        }
        Result<Surface> decoded = found != kept.end() ? std::move(found->second) : load(keys[i]);
        if (found != kept.end()) {
            kept.erase(found);
        }
        if (decoded) {
            const int tiles = TilesetTileCount(decoded.value().Width(), decoded.value().Height());
            const int room = TileCount - TileNumberAtCursor(state);
            build.tileCounts[i] = tiles;
            if (tiles > room) {
                build.leftOut.push_back({state.Tilesets[i], tiles - room});
            }
            AppendTilesetToPalette(decoded.value(), palette, state);
        } else {
            const int hold = i < held.size() ? std::max(held[i], 0) : 0;
            build.tileCounts[i] = hold;
            build.failures.push_back({state.Tilesets[i], decoded.message(), i});
            if (hold > 0) {
                AppendTilesetToPalette(MissingTiles(hold), palette, state);
            }
        }
        if (lastUse[keys[i]] > i) {
            kept.emplace(keys[i], std::move(decoded));
        }
    }
    return build;
}

PaletteBuild BuildShownPalette(EditorState& state, Surface& tiles, Surface& shown,
                               const TilesetLoader& load, const TilesetCounter& count,
                               std::span<const int> held) {
    PaletteBuild build = ReloadTilesets(state, tiles, load, count, held);
    shown = FlippedPalette(tiles, state.Attributes);
    return build;
}

std::string LeftOutMessage(const std::vector<LeftOutTiles>& leftOut) {
    if (leftOut.empty()) {
        return {};
    }
    long long total = 0;
    std::string from;
    for (std::size_t i = 0; i < leftOut.size(); ++i) {
        total += leftOut[i].tiles;
        if (i < FirstFewCount) {
            from += (i ? ", " : "") + std::to_string(leftOut[i].tiles) + " from " +
                    Shortened(leftOut[i].path);
        }
    }
    if (const std::string more = MoreThanFirstFew(leftOut.size(), "more files"); !more.empty()) {
        from += ", " + more;
    }
    return "The palette holds " + std::to_string(TileCount) + " tiles; " + std::to_string(total) +
           (total == 1 ? " tile was" : " tiles were") + " left out: " + from + ".";
}

} // namespace tessra
