#include "core/edit/cell_block.h"

#include <algorithm>
#include <cstring>

namespace tessra {

CellRect OnMap(CellRect rect) {
    const int left = std::max(rect.x, 0);
    const int top = std::max(rect.y, 0);
    const int right = std::min(rect.x + rect.width, MapSize);
    const int bottom = std::min(rect.y + rect.height, MapSize);
    if (right <= left || bottom <= top) {
        return {};
    }
    return {left, top, right - left, bottom - top};
}

CellRect RectBetween(MapCell a, MapCell b) {
    const int left = std::min(a.x, b.x);
    const int top = std::min(a.y, b.y);
    return OnMap({left, top, std::max(a.x, b.x) - left + 1, std::max(a.y, b.y) - top + 1});
}

CellBlock CopyCells(const MapGrid& map, CellRect rect) {
    rect = OnMap(rect);
    CellBlock block{rect.width, rect.height, {}};
    block.cells.resize(static_cast<std::size_t>(rect.width) * rect.height);
    for (int j = 0; j < rect.height; ++j) {
        std::memcpy(block.cells.data() + static_cast<std::size_t>(j) * rect.width,
                    map.data() + MapGrid::Index(rect.x, rect.y + j),
                    static_cast<std::size_t>(rect.width));
    }
    return block;
}

bool ClearCells(MapGrid& map, CellRect rect) {
    rect = OnMap(rect);
    bool changed = false;
    for (int j = 0; j < rect.height; ++j) {
        std::uint8_t* row = map.data() + MapGrid::Index(rect.x, rect.y + j);
        changed = changed || std::any_of(row, row + rect.width, [](std::uint8_t t) { return t; });
        std::fill_n(row, rect.width, std::uint8_t{0});
    }
    return changed;
}

CellBlock CutCells(MapGrid& map, CellRect rect) {
    CellBlock block = CopyCells(map, rect);
    ClearCells(map, rect);
    return block;
}

bool PasteCells(MapGrid& map, const CellBlock& block, MapCell at) {
    const CellRect target = OnMap({at.x, at.y, block.width, block.height});
    bool changed = false;
    for (int j = 0; j < target.height; ++j) {
        const std::uint8_t* from = block.cells.data() +
                                   static_cast<std::size_t>(target.y - at.y + j) * block.width +
                                   (target.x - at.x);
        std::uint8_t* to = map.data() + MapGrid::Index(target.x, target.y + j);
        if (std::memcmp(to, from, static_cast<std::size_t>(target.width)) != 0) {
            std::memcpy(to, from, static_cast<std::size_t>(target.width));
            changed = true;
        }
    }
    return changed;
}

bool MoveCells(MapGrid& map, CellRect from, MapCell to) {
    const MapGrid before = map;
    const CellBlock block = CutCells(map, from);
    PasteCells(map, block, to);
    return !(map == before);
}

} // namespace tessra
