#include "core/edit/cell_block_text.h"
#include "core/edit/select_tool.h"
#include "core/edit/stamp_builder.h"
#include "support/refusal.h"

#include <gtest/gtest.h>

using namespace tessra;

namespace {

// Every cell different from its neighbours, so a cell out of place shows.
MapGrid Pattern() {
    MapGrid map;
    for (int i = 0; i < CellCount; ++i) {
        map.data()[i] = static_cast<std::uint8_t>(i * 7 + i / MapSize * 3 + 1);
    }
    return map;
}

// The move, cell by cell: the cells landed on hold the block, the others it
// left hold 0.
MapGrid MovedByCell(const MapGrid& map, CellRect from, MapCell to) {
    from = OnMap(from);
    MapGrid out = map;
    for (int y = from.y; y < from.y + from.height; ++y) {
        for (int x = from.x; x < from.x + from.width; ++x) {
            out(x, y) = 0;
        }
    }
    for (int y = from.y; y < from.y + from.height; ++y) {
        for (int x = from.x; x < from.x + from.width; ++x) {
            const int tx = to.x + x - from.x, ty = to.y + y - from.y;
            if (MapGrid::Contains(tx, ty)) {
                out(tx, ty) = map(x, y);
            }
        }
    }
    return out;
}

// Drives the Select tool through press, moves and release at the cells given.
SelectOutcome Drag(MapSelection& selection, MapGrid& map, std::vector<MapCell> cells) {
    SelectOutcome last = SelectToolEvent(selection, map, PointerPhase::Press, cells.front());
    for (std::size_t i = 1; i + 1 < cells.size(); ++i) {
        SelectToolEvent(selection, map, PointerPhase::Move, cells[i]);
    }
    if (cells.size() > 1) {
        last = SelectToolEvent(selection, map, PointerPhase::Release, cells.back());
    }
    return last;
}

} // namespace

// Overlapping moves either way, moves off every edge and a rectangle partly
// off the map: cut, paste and move agree with the cell-by-cell rule, and the
// preview of a floating block is what putting it down leaves.
TEST(Selection, MovesAgreeWithTheCellByCellRule) {
    const MapGrid map = Pattern();
    const struct {
        CellRect from;
        MapCell to;
    } cases[] = {
        {{10, 10, 40, 30}, {11, 10}}, {{10, 10, 40, 30}, {9, 9}},   {{10, 10, 40, 30}, {10, 40}},
        {{0, 0, 256, 256}, {-3, 5}},  {{250, 250, 6, 6}, {253, 1}}, {{-5, 200, 10, 100}, {0, 0}},
        {{7, 7, 3, 3}, {7, 7}},
    };
    for (const auto& c : cases) {
        const MapGrid expected = MovedByCell(map, c.from, c.to);
        MapGrid moved = map;
        EXPECT_EQ(MoveCells(moved, c.from, c.to), !(expected == map));
        EXPECT_EQ(moved, expected) << c.from.x << "," << c.from.y << " to " << c.to.x;

        MapGrid cut = map;
        const CellBlock block = CutCells(cut, c.from);
        EXPECT_EQ(block, CopyCells(map, c.from));
        PasteCells(cut, block, c.to);
        EXPECT_EQ(cut, expected);

        const CellRect rect = OnMap(c.from);
        const FloatingBlock floating{block, c.to, rect, {0, 0}};
        EXPECT_EQ(WithFloatingBlock(map, floating), expected);
    }
    MapGrid cleared = map;
    EXPECT_TRUE(ClearCells(cleared, {250, -4, 10, 10}));
    EXPECT_FALSE(ClearCells(cleared, {250, -4, 10, 10}));
    EXPECT_EQ(cleared, MovedByCell(map, {250, 0, 6, 6}, {-100, -100}));
}

// A drag selects the rectangle between its ends whichever way it goes, cut to
// the map; a click in one cell selects nothing; a drag inside the selection
// moves its cells and the selection with them, as one "Move".
TEST(Selection, TheSelectToolSelectsAndMoves) {
    MapGrid map = Pattern();
    const MapGrid original = map;
    MapSelection selection;
    EXPECT_EQ(SelectStepLabel(selection), std::string("Select"));
    EXPECT_FALSE(Drag(selection, map, {{5, 3}, {9, 9}, {2, 1}}).changed);
    EXPECT_EQ(selection.rect, (CellRect{2, 1, 4, 3}));
    Drag(selection, map, {{250, 250}, {300, -2}});
    EXPECT_EQ(selection.rect, (CellRect{250, 0, 6, 251}));
    Drag(selection, map, {{20, 20}, {20, 20}});
    EXPECT_TRUE(selection.rect.Empty());

    Drag(selection, map, {{10, 10}, {49, 39}});
    ASSERT_EQ(selection.rect, (CellRect{10, 10, 40, 30}));
    EXPECT_FALSE(SelectToolEvent(selection, map, PointerPhase::Press, {12, 11}).changed);
    EXPECT_EQ(SelectStepLabel(selection), std::string("Move"));
    EXPECT_TRUE(SelectToolEvent(selection, map, PointerPhase::Move, {15, 12}).view);
    EXPECT_EQ(map, original); // nothing lands until the release
    EXPECT_TRUE(SelectToolEvent(selection, map, PointerPhase::Release, {15, 12}).changed);
    EXPECT_EQ(map, MovedByCell(original, {10, 10, 40, 30}, {13, 11}));
    EXPECT_EQ(selection.rect, (CellRect{13, 11, 40, 30}));
    EXPECT_FALSE(selection.floating);

    // Escape in the middle of a drag puts the cells back; a second one deselects.
    const MapGrid moved = map;
    SelectToolEvent(selection, map, PointerPhase::Press, {13, 11});
    SelectToolEvent(selection, map, PointerPhase::Move, {100, 100});
    EXPECT_TRUE(DropSelection(selection));
    EXPECT_FALSE(SelectToolEvent(selection, map, PointerPhase::Release, {100, 100}).changed);
    EXPECT_EQ(map, moved);
    EXPECT_EQ(selection.rect, (CellRect{13, 11, 40, 30}));
    EXPECT_TRUE(DropSelection(selection));
    EXPECT_FALSE(DropSelection(selection));
}

// A pasted block follows the pointer, moves included, and the next press puts
// it down as one "Paste", cut at the map's edge; the selection is then what it covers.
TEST(Selection, APasteFollowsThePointerUntilAPress) {
    MapGrid map;
    MapSelection selection;
    const CellBlock block{3, 2, {1, 2, 3, 4, 5, 6}};
    StartPaste(selection, block, {0, 0});
    EXPECT_EQ(SelectStepLabel(selection), std::string("Paste"));
    EXPECT_TRUE(SelectToolEvent(selection, map, PointerPhase::Move, {254, 7}).view);
    EXPECT_FALSE(SelectToolEvent(selection, map, PointerPhase::Move, {254, 7}).view);
    EXPECT_EQ(map, MapGrid{});
    const MapGrid preview = WithFloatingBlock(map, *selection.floating);
    EXPECT_TRUE(SelectToolEvent(selection, map, PointerPhase::Press, {254, 7}).changed);
    EXPECT_EQ(map, preview);
    EXPECT_EQ(std::tuple(map(254, 7), map(255, 8), map(0, 8)), std::tuple(1, 5, 0));
    EXPECT_EQ(selection.rect, (CellRect{254, 7, 2, 2}));
    EXPECT_FALSE(selection.floating);
}

// The clipboard's two kinds give the block back exactly; text from a text
// editor or a spreadsheet is read by the same rule, and anything else is
// refused with the line and value named.
TEST(Selection, ClipboardTextAndBytesRoundTrip) {
    const CellBlock block{3, 2, {0, 255, 7, 10, 11, 12}};
    EXPECT_EQ(CellBlockCsv(block), "0,255,7\n10,11,12\n");
    EXPECT_EQ(ReadCellBlockCsv(CellBlockCsv(block)).value(), block);
    EXPECT_EQ(ReadCellBlockBytes(CellBlockBytes(block)).value(), block);
    for (const char* text : {"0\t255\t7\r\n10\t11\t12\r\n", "\n 0, 255 ,7,\r\n\n10,11,12,\n"}) {
        EXPECT_EQ(ReadCellBlockCsv(text).value(), block) << text;
    }
    std::string row;
    for (int i = 0; i < MapSize; ++i) {
        row += "1,";
    }
    EXPECT_EQ(ReadCellBlockCsv(row).value().width, MapSize);

    const struct {
        std::string text, message;
    } refused[] = {
        {"1,2\n3", "line 2 holds 1 numbers, the first 2."},
        {"1,2\n\n3,x", "line 3, value 2 (\"x\") is not a tile number from 0 to 255."},
        {"1,256", "value 2 (\"256\") is not"},
        {"1,,2", "value 2 (\"\") is not"},
        {"1.5", "value 1 (\"1.5\") is not"},
        {" \n\t\n", "it is empty."},
        {row + "1", "it is larger than the map."},
    };
    for (const auto& r : refused) {
        EXPECT_TRUE(Refused(ReadCellBlockCsv(r.text), r.message)) << r.text;
    }
    std::string tall;
    for (int i = 0; i <= MapSize; ++i) {
        tall += "1\n";
    }
    EXPECT_TRUE(Refused(ReadCellBlockCsv(tall), "larger than the map"));
    for (const std::string& bytes :
         {std::string("\x02\0\x01", 3), std::string("\x02\0\x01\0\x05", 5),
          std::string("\0\0\0\0", 4)}) {
        EXPECT_TRUE(Refused(ReadCellBlockBytes(bytes), "The clipboard holds no block"));
    }
}

// Blocks of 2 to 8 cells each way become the stamp, as the builder leaves it;
// others are refused with their size, the stamp kept.
TEST(Selection, SelectionToStampTakesTwoToEightCellsEachWay) {
    EditorState state;
    CellBlock block{8, 2, {}};
    for (int n = 0; n < 16; ++n) {
        block.cells.push_back(static_cast<std::uint8_t>(n + 1));
    }
    ASSERT_TRUE(BlockToStamp(state, block).ok());
    EXPECT_EQ(std::tuple(StampWidth(state), StampHeight(state)), std::tuple(8, 2));
    EXPECT_EQ(std::tuple(StampCell(state.StampData, 7, 1), StampCell(state.StampData, 0, 2)),
              std::tuple(16, 0));
    EXPECT_EQ(state.StampBuilderData, state.StampData);
    const EditorState kept = state;
    for (const auto& [width, height] : {std::pair{1, 2}, {9, 2}, {2, 9}}) {
        const CellBlock wrong{width, height,
                              std::vector<std::uint8_t>(std::size_t(width) * height, 1)};
        EXPECT_TRUE(Refused(BlockToStamp(state, wrong),
                            "A stamp is 2 to 8 cells each way; the selection is " +
                                std::to_string(width) + " \u00d7 " + std::to_string(height)));
        EXPECT_EQ(state.StampData, kept.StampData);
    }
}
