#include "core/edit/tileset_order.h"

#include <algorithm>
#include <numeric>
#include <utility>

namespace tessra {
namespace {

int CountAt(const std::vector<int>& counts, int index) {
    return index >= 0 && index < static_cast<int>(counts.size()) ? std::max(counts[index], 0) : 0;
}

// The first tile number of every tileset in the given order; the palette
// simply stops at 256, so a start may lie past it.
std::vector<long long> FirstTiles(const std::vector<int>& counts, const std::vector<int>& order) {
    std::vector<long long> first(order.size());
    long long next = 0;
    for (std::size_t k = 0; k < order.size(); ++k) {
        first[k] = next;
        next += CountAt(counts, order[k]);
    }
    return first;
}

} // namespace

TileTable RenumberTable(const std::vector<int>& tileCounts, const std::vector<int>& newOrder) {
    TileTable table;
    std::iota(table.begin(), table.end(), std::uint8_t{0});
    std::vector<int> oldOrder(tileCounts.size());
    std::iota(oldOrder.begin(), oldOrder.end(), 0);
    const std::vector<long long> oldFirst = FirstTiles(tileCounts, oldOrder);
    const std::vector<long long> newFirst = FirstTiles(tileCounts, newOrder);

    for (std::size_t t = 0; t < oldOrder.size(); ++t) {
        const auto at = std::find(newOrder.begin(), newOrder.end(), static_cast<int>(t));
        const long long count = CountAt(tileCounts, static_cast<int>(t));
        for (long long j = 0; j < count && oldFirst[t] + j < TileCount; ++j) {
            long long tile = 0;
            if (at != newOrder.end()) {
                tile = newFirst[at - newOrder.begin()] + j;
            }
            table[oldFirst[t] + j] = static_cast<std::uint8_t>(tile < TileCount ? tile : 0);
        }
    }
    return table;
}

int RenumberMap(MapGrid& map, const TileTable& table) {
    int changed = 0;
    std::uint8_t* cells = map.data();
    for (int i = 0; i < CellCount; ++i) {
        changed += table[cells[i]] != cells[i];
        cells[i] = table[cells[i]];
    }
    return changed;
}

bool RenumberChangesMap(const MapGrid& map, const TileTable& table) {
    const std::uint8_t* cells = map.data();
    return std::any_of(cells, cells + CellCount,
                       [&](std::uint8_t tile) { return table[tile] != tile; });
}

std::optional<TilesetEditPlan> PlanTilesetEdit(const std::vector<std::string>& tilesets,
                                               const std::vector<int>& tileCounts, TilesetEdit edit,
                                               int index) {
    const int size = static_cast<int>(tilesets.size());
    const bool possible = index >= 0 && index < size &&
                          !(edit == TilesetEdit::MoveUp && index == 0) &&
                          !(edit == TilesetEdit::MoveDown && index == size - 1);
    if (!possible) {
        return std::nullopt;
    }
    std::vector<int> order(tilesets.size());
    std::iota(order.begin(), order.end(), 0);
    TilesetEditPlan plan;
    if (edit == TilesetEdit::Remove) {
        order.erase(order.begin() + index);
        // The entry that takes the removed one's place, or the new last one.
        plan.Selected = std::min(index, size - 2);
    } else {
        plan.Selected = edit == TilesetEdit::MoveUp ? index - 1 : index + 1;
        std::swap(order[index], order[plan.Selected]);
    }
    for (const int old : order) {
        plan.Tilesets.push_back(tilesets[old]);
    }
    std::vector<int> counts(tilesets.size());
    for (int t = 0; t < size; ++t) {
        counts[t] = CountAt(tileCounts, t);
    }
    plan.Renumber = RenumberTable(counts, order);
    return plan;
}

} // namespace tessra
