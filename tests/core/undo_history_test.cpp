#include "core/new_map.h"
#include "core/tile_swap.h"
#include "core/tools.h"
#include "core/undo_history.h"

#include <functional>
#include <gtest/gtest.h>

using namespace tessra;

namespace {

EditorState Sample() {
    EditorState state;
    for (int i = 0; i < CellCount; ++i) {
        state.MapData.data()[i] = static_cast<std::uint8_t>((i * 7 + i / 256) % 5);
    }
    state.Tilesets = {"a.pcx", "b.pcx"};
    state.CurrentFileName = "level.tessra";
    return state;
}

bool Same(const EditorState& a, const EditorState& b) {
    return a.MapData == b.MapData && a.Tilesets == b.Tilesets &&
           a.CurrentFileName == b.CurrentFileName;
}

void DrawStep(UndoHistory& history, EditorState& state, int x, int tile) {
    history.Record(state, "Draw", [&] { Draw(state.MapData, x, 0, tile); });
}

} // namespace

// Steps that change cells (a drag over cells and back is one step), the file
// name, the tileset list, or all three.
TEST(UndoHistory, UndoesAndRedoesEveryKindOfStep) {
    const struct {
        const char* label;
        std::function<void(EditorState&)> edit;
        bool tilesetsChanged = false, fileNameChanged = false;
    } cases[] = {
        {"Draw",
         [](EditorState& s) {
             s.SelectedTile = 9;
             for (double x : {0.0, 16.0, 40.0, 16.0, 70.0}) {
                 HandleEditFieldPress(s, LeftButton, x, 20, 3, 4);
             }
         }},
        {"Import CSV", [](EditorState& s) { s.CurrentFileName = "[Untitled]"; }, false, true},
        {"Remove Tileset", [](EditorState& s) { s.Tilesets.pop_back(); }, true, false},
        {"New Map", [](EditorState& s) { NewMap(s, 8, false); }, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        EditorState state = Sample();
        UndoHistory history;
        history.BeginStep(state, c.label);
        c.edit(state);
        history.BeginStep(state, "ignored: a step is open");
        EXPECT_TRUE(history.EndStep(state));
        const EditorState after = state;
        ASSERT_FALSE(Same(after, Sample()));
        EXPECT_EQ(history.UndoLabel(), c.label);

        const HistoryMove undo = history.Undo(state);
        EXPECT_TRUE(undo && Same(state, Sample()));
        EXPECT_EQ(std::pair(undo.tilesetsChanged, undo.fileNameChanged),
                  std::pair(c.tilesetsChanged, c.fileNameChanged));
        EXPECT_FALSE(history.Undo(state));
        EXPECT_EQ(history.RedoLabel(), c.label);
        EXPECT_TRUE(history.Redo(state) && Same(state, after));
        EXPECT_FALSE(history.Redo(state));
    }
}

TEST(UndoHistory, DropsEmptyStepsAndClosesAnOpenStepBeforeUndo) {
    EditorState state = Sample();
    UndoHistory history;
    EXPECT_FALSE(history.Record(state, "Swap", [&] { SwapTiles(state.MapData, 4, 4); }));
    EXPECT_FALSE(history.EndStep(state) || history.CanUndo());

    history.BeginStep(state, "Draw");
    Draw(state.MapData, 0, 0, 100);
    // A one-shot change during the drag joins it rather than ending it.
    EXPECT_FALSE(history.Record(state, "Fill", [&] { Draw(state.MapData, 1, 0, 100); }));
    EXPECT_TRUE(history.StepOpen());
    EXPECT_TRUE(history.Undo(state)); // the drag so far
    EXPECT_TRUE(!history.StepOpen() && Same(state, Sample()));
    EXPECT_EQ(history.StoredCells(), 2u);
}

TEST(UndoHistory, ModifiedFlagFollowsTheSavedPosition) {
    EditorState state = Sample();
    UndoHistory history;
    EXPECT_FALSE(history.IsModified());
    DrawStep(history, state, 0, 100);
    DrawStep(history, state, 1, 101);
    EXPECT_TRUE(history.IsModified());
    history.MarkSaved();
    history.Undo(state);
    EXPECT_TRUE(history.IsModified());
    history.Redo(state);
    EXPECT_FALSE(history.IsModified()); // back at the saved position

    // Undo past the save and branch off: the saved state is gone for good.
    history.Undo(state);
    DrawStep(history, state, 2, 102);
    EXPECT_TRUE(history.IsModified());
    history.Undo(state);
    EXPECT_TRUE(history.IsModified());

    history.MarkSaved();
    history.MarkModified(); // a change the history does not hold
    history.Undo(state);
    history.Redo(state);
    EXPECT_TRUE(history.IsModified());
    history.Clear(); // a file was opened
    EXPECT_FALSE(history.IsModified() || history.CanUndo() || history.CanRedo());
}

TEST(UndoHistory, DropsTheOldestStepsPastItsLimits) {
    EditorState state;
    UndoHistory history;
    for (int i = 0; i <= 200; ++i) { // whole-map steps are bounded by the cells they store
        history.Record(state, "Import CSV", [&] { state.MapData.Fill(i % 2 ? 1 : 2); });
    }
    EXPECT_EQ(history.StepCount(), 200u);

    // The saved position drops off the end: modified for good.
    UndoHistory small(3);
    EditorState doc;
    for (int x = 0; x < 4; ++x) {
        DrawStep(small, doc, x, 50);
    }
    while (small.Undo(doc)) {
    }
    EXPECT_TRUE(doc.MapData(0, 0) == 50 && doc.MapData(1, 0) == 0);
    EXPECT_TRUE(small.IsModified());
}
