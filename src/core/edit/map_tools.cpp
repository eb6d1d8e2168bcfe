#include "core/edit/map_tools.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace tessra {
namespace {

struct Seed {
    std::uint8_t x, y;
};

// Pushes one seed for each run of target cells in row[left..right].
void PushRuns(const std::uint8_t* row, int left, int right, int y, std::uint8_t target,
              std::vector<Seed>& seeds) {
    for (int x = left; x <= right; ++x) {
        if (row[x] == target) {
            seeds.push_back({static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y)});
            while (x < right && row[x + 1] == target) {
                ++x;
            }
        }
    }
}

} // namespace

std::vector<MapCell> CellLine(MapCell from, MapCell to) {
    const int dx = std::abs(to.x - from.x), dy = -std::abs(to.y - from.y);
    const int sx = from.x < to.x ? 1 : -1, sy = from.y < to.y ? 1 : -1;
    std::vector<MapCell> cells;
    cells.reserve(static_cast<std::size_t>(std::max(dx, -dy)) + 1);
    // err is dx + dy scaled by twice the distance to the true line.
    for (int err = dx + dy;;) {
        cells.push_back(from);
        if (from.x == to.x && from.y == to.y) {
            return cells;
        }
        const int twice = 2 * err;
        if (twice >= dy) {
            err += dy;
            from.x += sx;
        }
        if (twice <= dx) {
            err += dx;
            from.y += sy;
        }
    }
}

bool Draw(MapGrid& map, int x, int y, int tile) {
    if (!MapGrid::Contains(x, y) || !IsTileNumber(tile) || map(x, y) == tile) {
        return false;
    }
    map(x, y) = static_cast<std::uint8_t>(tile);
    return true;
}

bool Erase(MapGrid& map, int x, int y) {
    return Draw(map, x, y, 0);
}

// Scanline fill: each popped seed fills its whole run in the row, then seeds
// the runs of target cells directly above and below it. Filled cells no longer
// match the target, so no cell is filled twice.
bool FloodFill(MapGrid& map, int x, int y, int tile) {
    if (!MapGrid::Contains(x, y) || !IsTileNumber(tile) || map(x, y) == tile) {
        return false;
    }
    const std::uint8_t target = map(x, y);
    const auto value = static_cast<std::uint8_t>(tile);
    std::vector<Seed> seeds;
    seeds.reserve(MapSize);
    seeds.push_back({static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y)});
    while (!seeds.empty()) {
        const Seed seed = seeds.back();
        seeds.pop_back();
        std::uint8_t* row = map.data() + MapGrid::Index(0, seed.y);
        if (row[seed.x] != target) {
            continue;
        }
        int left = seed.x;
        int right = seed.x;
        while (left > 0 && row[left - 1] == target) {
            --left;
        }
        while (right < MapSize - 1 && row[right + 1] == target) {
            ++right;
        }
        std::memset(row + left, value, static_cast<std::size_t>(right - left + 1));
        if (seed.y > 0) {
            PushRuns(row - MapSize, left, right, seed.y - 1, target, seeds);
        }
        if (seed.y < MapSize - 1) {
            PushRuns(row + MapSize, left, right, seed.y + 1, target, seeds);
        }
    }
    return true;
}

bool StampAt(MapGrid& map, int x, int y, const EditorState& state) {
    const int width = std::clamp(StampWidth(state), 0, StampMaxSize);
    const int height = std::clamp(StampHeight(state), 0, StampMaxSize);
    bool changed = false;
    for (int i = 0; i < width; ++i) {
        for (int j = 0; j < height; ++j) {
            changed |= Draw(map, x + i, y + j, StampCell(state.StampData, i, j));
        }
    }
    return changed;
}

std::optional<std::int16_t> PickTile(const MapGrid& map, int x, int y) {
    if (!MapGrid::Contains(x, y)) {
        return std::nullopt;
    }
    return map(x, y);
}

} // namespace tessra
