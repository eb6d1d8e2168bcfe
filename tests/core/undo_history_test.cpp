#include "core/new_map.h"
#include "core/tools.h"
#include "core/undo_history.h"

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <random>

using namespace tessra;

namespace {

EditorState Sample() {
    EditorState state;
    for (int i = 0; i < CellCount; ++i) {
        state.MapData.data()[i] = static_cast<std::uint8_t>((i * 7 + i / 256) % 5);
    }
    state.Tilesets = {"a.pcx", "b.pcx"};
    state.CurrentFileName = "level.tessra";
    state.SelectedTile = 3;
    return state;
}

const Document& Content(const EditorState& state) {
    return state;
}

void DrawStep(UndoHistory& history, EditorState& state, int x, int tile) {
    UndoStep step(history, state, "Draw");
    Draw(state.MapData, x, 0, tile);
}

} // namespace

// Steps that change cells (a drag over cells and back is one step), the
// tileset list, or both; the file name is never the history's business.
TEST(UndoHistory, UndoesAndRedoesEveryKindOfStep) {
    const struct {
        const char* label;
        std::function<void(EditorState&)> edit;
        DocumentChange change;
    } cases[] = {
        {"Draw",
         [](EditorState& s) {
             s.SelectedTile = 9;
             for (double x : {0.0, 16.0, 40.0, 16.0, 70.0}) {
                 HandleEditFieldPress(s, LeftButton, x, 20, 3, 4);
             }
         },
         {.cells = true, .history = true}},
        {"Remove Tileset",
         [](EditorState& s) {
             s.Tilesets.pop_back();
             s.SelectedTileset = 0;
         },
         {.tilesets = true, .selection = true, .history = true}},
        {"New Map",
         [](EditorState& s) { NewMap(s, {.FillTile = 8, .KeepTilesets = false}); },
         {.cells = true, .tilesets = true, .selection = true, .history = true}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        EditorState state = Sample();
        UndoHistory history;
        history.BeginStep(state, c.label);
        c.edit(state);
        history.BeginStep(state, "ignored: a step is open");
        EXPECT_TRUE(history.EndStep(state).history);
        const EditorState after = state;
        EXPECT_EQ(history.UndoLabel(), c.label);

        state.CurrentFileName = "elsewhere.tessra";
        EXPECT_EQ(history.Undo(state), c.change);
        EXPECT_TRUE(Content(state) == Content(Sample()));
        EXPECT_EQ(static_cast<Selection&>(state).SelectedTileset, -1);
        EXPECT_EQ(state.CurrentFileName, "elsewhere.tessra");
        EXPECT_FALSE(history.Undo(state).history);
        EXPECT_EQ(history.RedoLabel(), c.label);
        EXPECT_EQ(history.Redo(state), c.change);
        EXPECT_TRUE(Content(state) == Content(after));
        EXPECT_FALSE(history.Redo(state).history);
    }
}

// A field added to the document is covered without the history naming it, and
// the selection of a step that changes more than the map comes back with it.
TEST(UndoHistory, CoversEveryFieldOfTheDocument) {
    struct Extended : Document {
        int Extra = 0;
        bool operator==(const Extended&) const = default;
    };
    Extended doc;
    Selection selection{.SelectedTile = 4, .SelectedTileset = 1};
    BasicUndoHistory<Extended> history;
    {
        BasicUndoStep<Extended> step(history, doc, selection, "Extra");
        doc.Extra = 7;
        selection.SelectedTileset = 0;
        EXPECT_EQ(step.Close(), (DocumentChange{.tilesets = true, .history = true}));
    }
    selection.SelectedTile = 9;
    EXPECT_TRUE(history.Undo(doc, selection).selection);
    EXPECT_EQ(doc.Extra, 0);
    EXPECT_EQ(selection, (Selection{.SelectedTile = 4, .SelectedTileset = 1}));
    EXPECT_TRUE(history.Redo(doc, selection).tilesets);
    EXPECT_EQ(std::pair(doc.Extra, selection.SelectedTileset), std::pair(7, 0));
}

// Random runs of steps, undos and redos against a plain list of the
// document's states: a new step after undos drops the whole redo branch.
TEST(UndoHistory, FollowsAPlainModelOverManySteps) {
    std::mt19937 random(2024);
    for (int run = 0; run < 200; ++run) {
        EditorState state;
        UndoHistory history(6);
        std::vector<Document> states{Content(state)}; // the model: every state, and where we are
        std::size_t at = 0, oldest = 0;
        for (int op = 0; op < 30; ++op) {
            const int kind = static_cast<int>(random() % 4);
            if (kind == 0) {
                history.Undo(state);
                at = at > oldest ? at - 1 : at;
            } else if (kind == 1) {
                history.Redo(state);
                at = at + 1 < states.size() ? at + 1 : at;
            } else {
                UndoStep step(history, state, "Edit");
                state.MapData(static_cast<int>(random() % 4), 0) =
                    static_cast<std::uint8_t>(random() % 3);
                if (kind == 3) {
                    state.Tilesets.push_back("t");
                }
                if (!(Content(state) == states[at])) {
                    states.resize(++at);
                    states.push_back(Content(state));
                    oldest = std::max(oldest, at > 6 ? at - 6 : 0); // six steps kept
                }
            }
            ASSERT_TRUE(Content(state) == states[at]) << run << ':' << op;
            ASSERT_EQ(history.CanUndo(), at > oldest) << run << ':' << op;
            ASSERT_EQ(history.CanRedo(), at + 1 < states.size()) << run << ':' << op;
        }
    }
}

TEST(UndoHistory, DropsEmptyStepsAndClosesAnOpenStepFirst) {
    EditorState state = Sample();
    UndoHistory history;
    EXPECT_EQ(UndoStep(history, state, "Swap").Close(), DocumentChange{});
    EXPECT_FALSE(history.CanUndo());

    history.BeginStep(state, "Draw");
    Draw(state.MapData, 0, 0, 100);
    EXPECT_TRUE(history.StepOpen());
    {
        UndoStep fill(history, state, "Fill"); // the drag so far becomes a step of its own
        Draw(state.MapData, 1, 0, 100);
    }
    EXPECT_EQ(history.StepCount(), 2u);
    history.BeginStep(state, "Draw");
    Draw(state.MapData, 2, 0, 100);
    EXPECT_TRUE(history.Undo(state).cells); // the drag so far
    EXPECT_TRUE(!history.StepOpen() && history.CanRedo() && state.MapData(2, 0) != 100);
    EXPECT_EQ(history.UndoLabel(), "Fill");
    EXPECT_EQ(history.StoredCells(), 3u);
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
        UndoStep step(history, state, "Import CSV");
        state.MapData.Fill(i % 2 ? 1 : 2);
    }
    EXPECT_EQ(history.StepCount(), 200u);
    for (int i = 0; i < 60; ++i) { // a whole document counts twice the map
        UndoStep step(history, state, "Add Tileset");
        state.Tilesets.push_back(std::to_string(i));
    }
    EXPECT_EQ(history.StepCount(), 60u + 80u);

    // The saved position drops off the end: modified for good.
    UndoHistory small(3);
    EditorState doc;
    for (int x = 0; x < 4; ++x) {
        DrawStep(small, doc, x, 50);
    }
    while (small.Undo(doc).history) {
    }
    EXPECT_TRUE(doc.MapData(0, 0) == 50 && doc.MapData(1, 0) == 0);
    EXPECT_TRUE(small.IsModified());
}
