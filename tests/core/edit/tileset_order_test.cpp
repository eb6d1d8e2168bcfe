#include "core/edit/tileset_order.h"
#include "core/render/map_view.h"
#include "core/view_fixtures.h"

#include <gtest/gtest.h>

using namespace tessra;

namespace {

// The 1x view of the map at scroll (0, 0), with the palette built from tilesets.
Surface DrawView(std::vector<std::string> tilesets, const MapGrid& map) {
    EditorState state;
    state.Tilesets = std::move(tilesets);
    Surface palette, view;
    ReloadTilesets(state, palette, LoadSynthetic);
    RedrawMapView(map, palette, 0, 0, 0, view);
    return view;
}

} // namespace

TEST(TilesetOrder, RenumberingKeepsEveryCellsPicture) {
    // c is 1.5 x 2.5 tiles: 2 x 2 as the palette rounds; m fails to load and brings none.
    const std::vector<std::string> small = {"a:32x32", "b:48x16", "m:missing", "c:24x40"};
    const std::vector<std::string> full = {"a:256x224", "b:256x64"}; // 288 tiles, 256 shown
    const struct {
        const std::vector<std::string>& files;
        TilesetEdit edit;
        int index;
        const char* ids; // the list afterwards
        int selected;
        int lostFirst, lostLast; // old numbers whose picture is gone: their cells become 0
    } cases[] = {
        {small, TilesetEdit::Remove, 0, "bmc", 0, 0, 3},
        {small, TilesetEdit::Remove, 3, "abm", 2, 7, 10},
        {small, TilesetEdit::Remove, 2, "abc", 2, 1, 0},
        {small, TilesetEdit::MoveDown, 0, "bamc", 1, 1, 0},
        {full, TilesetEdit::MoveUp, 1, "ba", 0, 192, 223}, // pushed past 255
        {full, TilesetEdit::Remove, 0, "b", 0, 0, 223},
    };
    const auto counts = [](const std::vector<std::string>& files) {
        EditorState state;
        state.Tilesets = files;
        Surface palette;
        return ReloadTilesets(state, palette, LoadSynthetic).tileCounts;
    };
    MapGrid map; // the visible cells run through all 256 numbers
    for (int i = 0; i < 33 * 29; ++i) {
        map(i % 33, i / 33) = static_cast<std::uint8_t>(i);
    }
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ids);
        const Surface before = DrawView(c.files, map);
        const auto plan = PlanTilesetEdit(c.files, counts(c.files), c.edit, c.index);
        ASSERT_TRUE(plan);
        std::string ids;
        for (const std::string& path : plan->Tilesets) {
            ids += path[0];
        }
        EXPECT_EQ(std::pair(ids, plan->Selected), std::pair(std::string(c.ids), c.selected));

        MapGrid renumbered = map;
        RenumberMap(renumbered, plan->Renumber);
        const Surface after = DrawView(plan->Tilesets, renumbered);
        for (int i = 0; i < ViewWidth / TileSize * ViewHeight / TileSize; ++i) {
            const int x = i % (ViewWidth / TileSize), y = i / (ViewWidth / TileSize);
            const bool lost = map(x, y) >= c.lostFirst && map(x, y) <= c.lostLast;
            // Every pixel of a synthetic tileset differs, so one tells the picture.
            const int px = x * TileSize + 8, py = y * TileSize + 8;
            EXPECT_TRUE(lost ? renumbered(x, y) == 0 : before.At(px, py) == after.At(px, py))
                << "tile " << int(map(x, y));
        }
    }
}

TEST(TilesetOrder, RefusesEditsThatCannotBeMade) {
    const std::vector<std::string> two = {"a:16x16", "b:16x16"};
    for (const auto& [edit, index] : {std::pair(TilesetEdit::MoveUp, 0),
                                      {TilesetEdit::MoveDown, 1},
                                      {TilesetEdit::Remove, 2}}) {
        EXPECT_FALSE(PlanTilesetEdit(two, {1, 1}, edit, index)) << index;
    }
    const auto last = PlanTilesetEdit({"a:16x16"}, {}, TilesetEdit::Remove, 0);
    EXPECT_TRUE(last && last->Selected == -1 && last->Tilesets.empty());

    MapGrid map;
    map.Fill(1);
    const auto swap = PlanTilesetEdit(two, {1, 1}, TilesetEdit::MoveDown, 0);
    const auto empty = PlanTilesetEdit(two, {0, 0}, TilesetEdit::MoveDown, 0);
    EXPECT_FALSE(RenumberChangesMap(map, empty->Renumber));
    EXPECT_TRUE(RenumberChangesMap(map, swap->Renumber));
    EXPECT_EQ(RenumberMap(map, swap->Renumber), CellCount);
}
