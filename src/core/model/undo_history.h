#pragma once

#include "core/model/document.h"
#include "core/model/map_grid.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <limits>
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

// The cells that differ between two maps, in index order.
std::vector<CellChange> DiffMaps(const MapGrid& before, const MapGrid& after);

// The document's undo and redo steps and its modified flag.
//
// A step is whatever happens to the document between BeginStep and EndStep. A
// step that changed only the map keeps the cells that differ; any other step
// keeps the whole document from before and after it, so whatever Doc holds
// besides MapData is covered without this class naming it. Such a step also
// gives back the selection of its time. A whole drag is one step when BeginStep
// is called on the press and EndStep on the release. Steps that change nothing
// are dropped. The oldest steps are dropped once there are more than maxSteps
// or what they keep passes maxCells (a whole document counts twice CellCount);
// the newest step is always kept.
template <class Doc> class BasicUndoHistory {
  public:
    static constexpr std::size_t DefaultMaxSteps = 500;
    static constexpr std::size_t DefaultMaxCells = 200 * static_cast<std::size_t>(CellCount);

    explicit BasicUndoHistory(std::size_t maxSteps = DefaultMaxSteps,
                              std::size_t maxCells = DefaultMaxCells)
        : maxSteps_(maxSteps), maxCells_(maxCells) {}

    // Takes a copy of the document to compare with. While a step is open
    // another BeginStep changes nothing, so its changes join the open step.
    void BeginStep(const Doc& doc, const Selection& selection, std::string label) {
        if (!open_) {
            open_.emplace(OpenStep{std::move(label), doc, selection});
        }
    }
    // Closes the open step, keeping it if something changed, and says what.
    DocumentChange EndStep(const Doc& doc, const Selection& selection);
    bool StepOpen() const { return open_.has_value(); }

    // An open step is closed first, so an undo in the middle of a drag takes
    // back the drag so far; a redo then finds nothing to redo.
    DocumentChange Undo(Doc& doc, Selection& selection) { return Move(doc, selection, false); }
    DocumentChange Redo(Doc& doc, Selection& selection) { return Move(doc, selection, true); }
    bool CanUndo() const { return cursor_ > 0; }
    bool CanRedo() const { return cursor_ < steps_.size(); }
    // The labels of the steps Undo and Redo would take; empty when there is none.
    std::string UndoLabel() const { return CanUndo() ? steps_[cursor_ - 1].label : ""; }
    std::string RedoLabel() const { return CanRedo() ? steps_[cursor_].label : ""; }

    // The same for a state that holds both the document and the selection.
    template <class State> void BeginStep(const State& state, std::string label) {
        BeginStep(static_cast<const Doc&>(state), static_cast<const Selection&>(state),
                  std::move(label));
    }
    template <class State> DocumentChange EndStep(const State& state) {
        return EndStep(static_cast<const Doc&>(state), static_cast<const Selection&>(state));
    }
    template <class State> DocumentChange Undo(State& state) {
        return Undo(static_cast<Doc&>(state), static_cast<Selection&>(state));
    }
    template <class State> DocumentChange Redo(State& state) {
        return Redo(static_cast<Doc&>(state), static_cast<Selection&>(state));
    }

    // A new document (a file was opened): no steps, not modified.
    void Clear() {
        steps_.clear();
        open_.reset();
        cursor_ = 0;
        storedCells_ = 0;
        baseId_ = nextId_++;
        savedId_ = baseId_;
    }
    // The document now matches its file.
    void MarkSaved() { savedId_ = CurrentId(); }
    // A change the history does not hold: modified until the next save.
    void MarkModified() { savedId_ = NoState; }
    // Whether the document differs from its file: undoing back to the saved
    // position makes it unmodified again, unless that position was dropped.
    bool IsModified() const { return CurrentId() != savedId_; }

    std::size_t StepCount() const { return steps_.size(); }
    std::size_t StoredCells() const { return storedCells_; }

  private:
    // Never the id of a document state, so a document marked with it is
    // modified until the next save.
    static constexpr std::uint64_t NoState = std::numeric_limits<std::uint64_t>::max();

    struct Whole {
        Doc before, after;
        Selection selectionBefore, selectionAfter;
    };
    struct Step {
        std::uint64_t id = 0; // names the document state after the step
        std::string label;
        std::vector<CellChange> cells;
        std::optional<Whole> whole;
        std::size_t Size() const { return whole ? 2 * std::size_t{CellCount} : cells.size(); }
    };
    struct OpenStep {
        std::string label;
        Doc before;
        Selection selection;
    };

    std::uint64_t CurrentId() const { return cursor_ == 0 ? baseId_ : steps_[cursor_ - 1].id; }
    void Push(Step step);
    DocumentChange Move(Doc& doc, Selection& selection, bool forward);

    std::size_t maxSteps_;
    std::size_t maxCells_;
    std::deque<Step> steps_;
    std::size_t cursor_ = 0; // steps_[0..cursor_) are applied
    std::size_t storedCells_ = 0;
    std::uint64_t nextId_ = 1;
    std::uint64_t baseId_ = 0; // the state before steps_[0]
    std::uint64_t savedId_ = 0;
    std::optional<OpenStep> open_;
};

using UndoHistory = BasicUndoHistory<Document>;

template <class Doc>
DocumentChange BasicUndoHistory<Doc>::EndStep(const Doc& doc, const Selection& selection) {
    if (!open_) {
        return {};
    }
    OpenStep open = std::move(*open_);
    open_.reset();
    Step step;
    step.label = std::move(open.label);
    step.cells = DiffMaps(open.before.MapData, doc.MapData);
    // Everything but the map, compared by comparing the documents with equal maps.
    Doc rest = open.before;
    rest.MapData = doc.MapData;
    const bool restChanged = !(rest == doc);
    if (step.cells.empty() && !restChanged) {
        return {};
    }
    DocumentChange change{.cells = !step.cells.empty(),
                          .history = true,
                          .changedCells = static_cast<int>(step.cells.size())};
    if (restChanged) {
        step.cells.clear();
        step.whole.emplace(Whole{std::move(open.before), doc, open.selection, selection});
        change.tilesets = true;
    }
    Push(std::move(step));
    return change;
}

template <class Doc> void BasicUndoHistory<Doc>::Push(Step step) {
    // A new step ends the redo branch; its states can never come back.
    while (steps_.size() > cursor_) {
        storedCells_ -= steps_.back().Size();
        steps_.pop_back();
    }
    step.id = nextId_++;
    storedCells_ += step.Size();
    steps_.push_back(std::move(step));
    cursor_ = steps_.size();
    while (steps_.size() > 1 && (steps_.size() > maxSteps_ || storedCells_ > maxCells_)) {
        baseId_ = steps_.front().id;
        storedCells_ -= steps_.front().Size();
        steps_.pop_front();
        --cursor_;
    }
}

template <class Doc>
DocumentChange BasicUndoHistory<Doc>::Move(Doc& doc, Selection& selection, bool forward) {
    DocumentChange change = EndStep(doc, selection);
    if (forward ? !CanRedo() : !CanUndo()) {
        return change;
    }
    const Step& step = forward ? steps_[cursor_++] : steps_[--cursor_];
    change.history = true;
    if (step.whole) {
        const Whole& whole = *step.whole;
        change.cells |= !(whole.before.MapData == whole.after.MapData);
        change.tilesets = change.selection = true;
        doc = forward ? whole.after : whole.before;
        selection = forward ? whole.selectionAfter : whole.selectionBefore;
        return change;
    }
    std::uint8_t* cells = doc.MapData.data();
    for (const CellChange& cell : step.cells) {
        cells[cell.index] = forward ? cell.after : cell.before;
    }
    change.cells = true;
    return change;
}

// Brackets one edit: the step opens when this is made and closes when it goes,
// kept only if something changed. A step left open by a drag is closed first,
// so the edit is a step of its own.
template <class Doc> class BasicUndoStep {
  public:
    BasicUndoStep(BasicUndoHistory<Doc>& history, const Doc& doc, const Selection& selection,
                  std::string label)
        : history_(history), doc_(doc), selection_(selection) {
        closed_ = history_.EndStep(doc_, selection_);
        history_.BeginStep(doc_, selection_, std::move(label));
    }
    // The same for a state that holds both the document and the selection.
    template <class State>
    BasicUndoStep(BasicUndoHistory<Doc>& history, const State& state, std::string label)
        : BasicUndoStep(history, static_cast<const Doc&>(state),
                        static_cast<const Selection&>(state), std::move(label)) {}
    ~BasicUndoStep() { (void)Close(); }
    BasicUndoStep(const BasicUndoStep&) = delete;
    BasicUndoStep& operator=(const BasicUndoStep&) = delete;

    // Closes the step now; what it (and a drag closed before it) changed.
    [[nodiscard]] DocumentChange Close() {
        if (!done_) {
            done_ = true;
            closed_ |= history_.EndStep(doc_, selection_);
        }
        return closed_;
    }

  private:
    BasicUndoHistory<Doc>& history_;
    const Doc& doc_;
    const Selection& selection_;
    DocumentChange closed_;
    bool done_ = false;
};

using UndoStep = BasicUndoStep<Document>;

} // namespace tessra
