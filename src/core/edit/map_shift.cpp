#include "core/edit/map_shift.h"

#include "core/base/number_text.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>
#include <string>
#include <utility>

namespace tessra {
namespace {

// A box holding a whole number in -limit..limit.
Result<int> ReadSignedBox(std::string_view text, std::string_view name, int limit) {
    const std::optional<int> value = WholeNumberBox(text, -limit, limit);
    if (!value) {
        const std::string range = std::to_string(-limit) + " to " + std::to_string(limit);
        return Error{std::string(name) + " must be a whole number from " + range + "."};
    }
    return static_cast<int>(*value);
}

// The lowest and highest tile of the range that some cell holds.
std::optional<std::pair<int, int>> TilesInUse(const MapGrid& map, int from, int to) {
    std::array<bool, 256> used{};
    const std::uint8_t* cells = map.data();
    for (int i = 0; i < CellCount; ++i) {
        used[cells[i]] = true;
    }
    std::optional<std::pair<int, int>> range;
    for (int tile = from; tile <= to; ++tile) {
        if (used[tile]) {
            range = std::pair(range ? range->first : tile, tile);
        }
    }
    return range;
}

// Python-style modulo: the result is always 0..255.
int Wrapped(long long value) {
    return static_cast<int>(((value % MapSize) + MapSize) % MapSize);
}

void ShiftWrapping(MapGrid& map, int dx, int dy) {
    const MapGrid old = map;
    for (int y = 0; y < MapSize; ++y) {
        const std::uint8_t* from = old.data() + MapGrid::Index(0, Wrapped(y - dy));
        std::uint8_t* to = map.data() + MapGrid::Index(0, y);
        // The source row rotated right by dx: its tail first, then its head.
        std::memcpy(to, from + MapSize - dx, dx);
        std::memcpy(to + dx, from, MapSize - dx);
    }
}

void ShiftFilling(MapGrid& map, long long dx, long long dy, std::uint8_t fill) {
    const MapGrid old = map;
    map.Fill(fill);
    if (dx <= -MapSize || dx >= MapSize || dy <= -MapSize || dy >= MapSize) {
        return;
    }
    const int width = MapSize - static_cast<int>(dx < 0 ? -dx : dx);
    const int fromX = dx < 0 ? static_cast<int>(-dx) : 0;
    const int toX = dx < 0 ? 0 : static_cast<int>(dx);
    for (int y = 0; y < MapSize; ++y) {
        const long long fromY = y - dy;
        if (fromY >= 0 && fromY < MapSize) {
            std::memcpy(map.data() + MapGrid::Index(toX, y),
                        old.data() + MapGrid::Index(fromX, static_cast<int>(fromY)), width);
        }
    }
}

} // namespace

Result<std::uint8_t> ReadTileBox(std::string_view text, std::string_view name) {
    const std::optional<int> tile = WholeNumberBox(text, 0, 255);
    if (!tile) {
        return Error{std::string(name) + " must be a tile number from 0 to 255."};
    }
    return static_cast<std::uint8_t>(*tile);
}

Result<TileShift> ReadTileShift(std::string_view fromText, std::string_view toText,
                                std::string_view offsetText) {
    const Result<std::uint8_t> from = ReadTileBox(fromText, "From");
    if (!from) {
        return from;
    }
    const Result<std::uint8_t> to = ReadTileBox(toText, "To");
    if (!to) {
        return to;
    }
    const Result<int> offset = ReadSignedBox(offsetText, "Offset", 255);
    if (!offset) {
        return offset;
    }
    return TileShift{std::min(from.value(), to.value()), std::max(from.value(), to.value()),
                     offset.value()};
}

Result<int> ShiftTiles(MapGrid& map, const TileShift& shift) {
    const int from = std::min(shift.From, shift.To);
    const int to = std::max(shift.From, shift.To);
    const auto used = TilesInUse(map, from, to);
    if (!used || shift.Offset == 0) {
        return 0;
    }
    const int edge = shift.Offset > 0 ? used->second : used->first;
    const long long moved = static_cast<long long>(edge) + shift.Offset;
    if (moved < 0 || moved > 255) {
        return Error{"Tile Shift would turn tile " + std::to_string(edge) + " into " +
                     std::to_string(moved) + "; tile numbers run from 0 to 255."};
    }
    int changed = 0;
    std::uint8_t* cells = map.data();
    for (int i = 0; i < CellCount; ++i) {
        if (cells[i] >= from && cells[i] <= to) {
            cells[i] = static_cast<std::uint8_t>(cells[i] + shift.Offset);
            ++changed;
        }
    }
    return changed;
}

Result<MapShift> ReadMapShift(std::string_view dxText, std::string_view dyText, bool wrap,
                              std::string_view fillText) {
    const Result<int> dx = ReadSignedBox(dxText, "X shift", 255);
    if (!dx) {
        return dx;
    }
    const Result<int> dy = ReadSignedBox(dyText, "Y shift", 255);
    if (!dy) {
        return dy;
    }
    MapShift shift{dx.value(), dy.value(), wrap, 0};
    if (!wrap) {
        const Result<std::uint8_t> fill = ReadTileBox(fillText, "Fill tile");
        if (!fill) {
            return fill;
        }
        shift.FillTile = fill.value();
    }
    return shift;
}

void ShiftMap(MapGrid& map, const MapShift& shift) {
    if (shift.Wrap) {
        ShiftWrapping(map, Wrapped(shift.DX), Wrapped(shift.DY));
    } else {
        ShiftFilling(map, shift.DX, shift.DY, shift.FillTile);
    }
}

} // namespace tessra
