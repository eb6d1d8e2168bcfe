#include "core/edit/tool_table.h"
#include "core/model/new_map.h"
#include "core/model/undo_history.h"

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <random>

using namespace tessra;

namespace {

const Document& Content(const EditorState& state) {
    return state;
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
             Stroke stroke;
             for (double x : {0.0, 16.0, 40.0, 16.0, 70.0}) {
                 HandleEditFieldPress(s, LeftButton, x, 20, 3, 4, stroke);
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
        EditorState state;
        state.MapData.Fill(3);
        state.Tilesets = {"a.pcx", "b.pcx"};
        const EditorState before = state;
        UndoHistory history;
        history.BeginStep(state, c.label);
        c.edit(state);
        history.BeginStep(state, "ignored: a step is open");
        EXPECT_TRUE(history.EndStep(state).history);
        const EditorState after = state;
        state.CurrentFileName = "elsewhere.tessra";
        EXPECT_EQ(history.Undo(state), c.change);
        EXPECT_TRUE(Content(state) == Content(before) && state.SelectedTileset == -1);
        EXPECT_EQ(history.RedoLabel(), c.label);
        EXPECT_EQ(history.Redo(state), c.change);
        EXPECT_TRUE(Content(state) == Content(after));
        EXPECT_EQ(state.CurrentFileName, "elsewhere.tessra");
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
    }
    selection.SelectedTile = 9;
    EXPECT_EQ(history.Undo(doc, selection),
              (DocumentChange{.tilesets = true, .selection = true, .history = true}));
    EXPECT_EQ(doc.Extra, 0);
    EXPECT_EQ(selection, (Selection{.SelectedTile = 4, .SelectedTileset = 1}));
    EXPECT_TRUE(history.Redo(doc, selection).tilesets);
    EXPECT_EQ(std::pair(doc.Extra, selection.SelectedTileset), std::pair(7, 0));
}

// Random runs of steps, undos, redos, saves and new files against a plain list
// of the document's states: a new step after undos drops the whole redo
// branch, only six steps are kept, and the document is modified unless it is
// at the saved state, which is gone for good once dropped.
TEST(UndoHistory, FollowsAPlainModelOverManySteps) {
    std::mt19937 random(2024);
    for (int run = 0; run < 200; ++run) {
        EditorState state;
        UndoHistory history(6);
        std::vector<Document> states{Content(state)};
        std::size_t at = 0, oldest = 0;
        long saved = 0; // the saved state's place in states, -1 for none
        for (int op = 0; op < 40; ++op) {
            switch (random() % 7) {
            case 0:
                history.Undo(state);
                at = at > oldest ? at - 1 : at;
                break;
            case 1:
                history.Redo(state);
                at = at + 1 < states.size() ? at + 1 : at;
                break;
            case 2:
                history.MarkSaved();
                saved = static_cast<long>(at);
                break;
            case 3:
                history.MarkModified();
                saved = -1;
                break;
            case 4:
                if (random() % 4 == 0) { // a file was opened
                    history.Clear();
                    states = {Content(state)};
                    at = oldest = saved = 0;
                    break;
                }
                [[fallthrough]];
            default: {
                UndoStep step(history, state, "Edit");
                state.MapData(static_cast<int>(random() % 4), 0) =
                    static_cast<std::uint8_t>(random() % 3);
                if (random() % 3 == 0) {
                    state.Tilesets.push_back("t");
                }
                if (!(Content(state) == states[at])) {
                    saved = saved > static_cast<long>(at) ? -1 : saved;
                    states.resize(++at);
                    states.push_back(Content(state));
                    oldest = std::max(oldest, at > 6 ? at - 6 : 0);
                }
            }
            }
            saved = saved < static_cast<long>(oldest) ? -1 : saved;
            ASSERT_TRUE(Content(state) == states[at]) << run << ':' << op;
            ASSERT_EQ(history.CanUndo(), at > oldest) << run << ':' << op;
            ASSERT_EQ(history.CanRedo(), at + 1 < states.size()) << run << ':' << op;
            ASSERT_EQ(history.IsModified(), saved != static_cast<long>(at)) << run << ':' << op;
        }
    }
}

TEST(UndoHistory, DropsEmptyStepsAndClosesAnOpenStepFirst) {
    EditorState state;
    UndoHistory history;
    EXPECT_EQ(UndoStep(history, state, "Swap").Close(), DocumentChange{});
    history.BeginStep(state, "Draw");
    Draw(state.MapData, 0, 0, 100);
    {
        UndoStep fill(history, state, "Fill"); // the drag so far becomes a step of its own
        Draw(state.MapData, 1, 0, 100);
    }
    history.BeginStep(state, "Draw");
    Draw(state.MapData, 2, 0, 100);
    EXPECT_TRUE(history.Undo(state).cells); // the drag so far
    EXPECT_TRUE(!history.StepOpen() && history.CanRedo() && state.MapData(2, 0) == 0);
    EXPECT_EQ(std::pair(history.UndoLabel(), history.StepCount()),
              std::pair(std::string("Fill"), 3ul));
}

// Whole-map steps are bounded by the cells they keep; a whole document counts
// twice the map.
TEST(UndoHistory, DropsTheOldestStepsPastItsLimits) {
    EditorState state;
    UndoHistory history;
    for (int i = 0; i <= 200; ++i) {
        UndoStep step(history, state, "Import CSV");
        state.MapData.Fill(i % 2 ? 1 : 2);
    }
    EXPECT_EQ(history.StepCount(), 200u);
    for (int i = 0; i < 60; ++i) {
        UndoStep step(history, state, "Add Tileset");
        state.Tilesets.push_back(std::to_string(i));
    }
    EXPECT_EQ(history.StepCount(), 60u + 80u);
}
