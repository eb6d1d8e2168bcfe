#pragma once

#include "core/editor_state.h"
#include "core/map_grid.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tessra {

// One cell a step changed.
struct CellChange {
    std::uint16_t index; // MapGrid::Index(x, y)
    std::uint8_t before;
    std::uint8_t after;
};

// What an undo or redo did, so the window knows what to refresh besides the map.
struct HistoryMove {
    bool moved = false;
    bool tilesetsChanged = false; // rebuild the palette
    bool fileNameChanged = false; // set the caption again
    explicit operator bool() const { return moved; }
};

// The document's undo and redo steps and its modified flag.
//
// A step is whatever happens to the document between BeginStep and EndStep:
// the map cells that differ (index, before, after) and, when they changed, the
// tileset list and CurrentFileName. A whole drag is one step when BeginStep is
// called on the press and EndStep on the release. Steps that change nothing
// are dropped. The oldest steps are dropped once there are more than maxSteps
// or their cells pass maxCells; the newest step is always kept.
class UndoHistory {
  public:
    static constexpr std::size_t DefaultMaxSteps = 500;
    static constexpr std::size_t DefaultMaxCells = 200 * static_cast<std::size_t>(CellCount);

    explicit UndoHistory(std::size_t maxSteps = DefaultMaxSteps,
                         std::size_t maxCells = DefaultMaxCells);

    // Takes a copy of the map to diff against. While a step is open another
    // BeginStep changes nothing, so its changes join the open step.
    void BeginStep(const EditorState& state, std::string label);
    // Closes the open step; returns whether it was kept (something changed).
    bool EndStep(const EditorState& state);
    bool StepOpen() const { return open_ != nullptr; }

    // BeginStep, change(), EndStep. Inside an open step the change joins it.
    template <class Change> bool Record(EditorState& state, std::string label, Change&& change) {
        const bool nested = StepOpen();
        BeginStep(state, std::move(label));
        std::forward<Change>(change)();
        return !nested && EndStep(state);
    }

    // An open step is closed first, so an undo in the middle of a drag takes
    // back the drag so far.
    HistoryMove Undo(EditorState& state);
    HistoryMove Redo(EditorState& state);
    bool CanUndo() const { return cursor_ > 0; }
    bool CanRedo() const { return cursor_ < steps_.size(); }
    // The labels of the steps Undo and Redo would take; empty when there is none.
    std::string UndoLabel() const;
    std::string RedoLabel() const;

    // A new document (a file was opened): no steps, not modified.
    void Clear();
    // The document now matches its file.
    void MarkSaved();
    // A change the history does not hold: modified until the next save.
    void MarkModified();
    // Whether the document differs from its file: undoing back to the saved
    // position makes it unmodified again, unless that position was dropped.
    bool IsModified() const { return CurrentId() != savedId_; }

    std::size_t StepCount() const { return steps_.size(); }
    std::size_t StoredCells() const { return storedCells_; }

  private:
    template <class T> struct Change { T before, after; };
    struct Step {
        std::uint64_t id = 0; // names the document state after the step
        std::string label;
        std::vector<CellChange> cells;
        std::optional<Change<std::vector<std::string>>> tilesets;
        std::optional<Change<std::string>> fileName;
    };
    struct OpenStep {
        std::string label;
        MapGrid map;
        std::vector<std::string> tilesets;
        std::string fileName;
    };

    std::uint64_t CurrentId() const { return cursor_ == 0 ? baseId_ : steps_[cursor_ - 1].id; }
    void Push(Step step);
    static HistoryMove Apply(const Step& step, EditorState& state, bool forward);

    std::size_t maxSteps_;
    std::size_t maxCells_;
    std::deque<Step> steps_;
    std::size_t cursor_ = 0; // steps_[0..cursor_) are applied
    std::size_t storedCells_ = 0;
    std::uint64_t nextId_ = 1;
    std::uint64_t baseId_ = 0; // the state before steps_[0]
    std::uint64_t savedId_ = 0;
    std::unique_ptr<OpenStep> open_;
};

// The cells that differ between two maps, in index order.
std::vector<CellChange> DiffMaps(const MapGrid& before, const MapGrid& after);

} // namespace tessra
