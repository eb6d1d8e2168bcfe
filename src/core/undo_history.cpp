#include "core/undo_history.h"

#include <cstring>
#include <limits>

namespace tessra {
namespace {

// Never the id of a document state, so a document marked with it is modified
// until the next save.
constexpr std::uint64_t NoState = std::numeric_limits<std::uint64_t>::max();

// Eight cells at a time: most steps change few cells, so most words are equal.
std::uint64_t Word(const std::uint8_t* cells) {
    std::uint64_t word;
    std::memcpy(&word, cells, sizeof word);
    return word;
}

// The number of nonzero bytes in a word.
int ChangedBytes(std::uint64_t x) {
    x |= x >> 4;
    x |= x >> 2;
    x |= x >> 1;
    x &= 0x0101010101010101ULL;
    return static_cast<int>((x * 0x0101010101010101ULL) >> 56);
}

} // namespace

std::vector<CellChange> DiffMaps(const MapGrid& before, const MapGrid& after) {
    const std::uint8_t* a = before.data();
    const std::uint8_t* b = after.data();
    // Counting first keeps the stored vector exactly as large as the step.
    std::size_t count = 0;
    for (int i = 0; i < CellCount; i += 8) {
        count += ChangedBytes(Word(a + i) ^ Word(b + i));
    }
    std::vector<CellChange> cells;
    cells.reserve(count);
    for (int i = 0; i < CellCount; i += 8) {
        if (Word(a + i) == Word(b + i)) {
            continue;
        }
        for (int k = i; k < i + 8; ++k) {
            if (a[k] != b[k]) {
                cells.push_back({static_cast<std::uint16_t>(k), a[k], b[k]});
            }
        }
    }
    return cells;
}

UndoHistory::UndoHistory(std::size_t maxSteps, std::size_t maxCells)
    : maxSteps_(maxSteps), maxCells_(maxCells) {}

void UndoHistory::BeginStep(const EditorState& state, std::string label) {
    if (open_) {
        return;
    }
    open_ = std::make_unique<OpenStep>(
        OpenStep{std::move(label), state.MapData, state.Tilesets, state.CurrentFileName});
}

bool UndoHistory::EndStep(const EditorState& state) {
    if (!open_) {
        return false;
    }
    const std::unique_ptr<OpenStep> open = std::move(open_);
    Step step;
    step.label = std::move(open->label);
    step.cells = DiffMaps(open->map, state.MapData);
    if (open->tilesets != state.Tilesets) {
        step.tilesets.emplace(Change<std::vector<std::string>>{open->tilesets, state.Tilesets});
    }
    if (open->fileName != state.CurrentFileName) {
        step.fileName.emplace(Change<std::string>{open->fileName, state.CurrentFileName});
    }
    if (step.cells.empty() && !step.tilesets && !step.fileName) {
        return false;
    }
    Push(std::move(step));
    return true;
}

void UndoHistory::Push(Step step) {
    // A new step ends the redo branch; its states can never come back.
    while (steps_.size() > cursor_) {
        storedCells_ -= steps_.back().cells.size();
        steps_.pop_back();
    }
    step.id = nextId_++;
    storedCells_ += step.cells.size();
    steps_.push_back(std::move(step));
    cursor_ = steps_.size();
    while (steps_.size() > 1 && (steps_.size() > maxSteps_ || storedCells_ > maxCells_)) {
        baseId_ = steps_.front().id;
        storedCells_ -= steps_.front().cells.size();
        steps_.pop_front();
        --cursor_;
    }
}

HistoryMove UndoHistory::Apply(const Step& step, EditorState& state, bool forward) {
    std::uint8_t* cells = state.MapData.data();
    for (const CellChange& change : step.cells) {
        cells[change.index] = forward ? change.after : change.before;
    }
    HistoryMove move{true, step.tilesets.has_value(), step.fileName.has_value()};
    if (step.tilesets) {
        state.Tilesets = forward ? step.tilesets->after : step.tilesets->before;
    }
    if (step.fileName) {
        state.CurrentFileName = forward ? step.fileName->after : step.fileName->before;
    }
    return move;
}

HistoryMove UndoHistory::Undo(EditorState& state) {
    EndStep(state);
    if (!CanUndo()) {
        return {};
    }
    --cursor_;
    return Apply(steps_[cursor_], state, false);
}

HistoryMove UndoHistory::Redo(EditorState& state) {
    // A step left open starts a new branch, so then there is nothing to redo.
    EndStep(state);
    if (!CanRedo()) {
        return {};
    }
    ++cursor_;
    return Apply(steps_[cursor_ - 1], state, true);
}

std::string UndoHistory::UndoLabel() const {
    return CanUndo() ? steps_[cursor_ - 1].label : std::string();
}

std::string UndoHistory::RedoLabel() const {
    return CanRedo() ? steps_[cursor_].label : std::string();
}

void UndoHistory::Clear() {
    steps_.clear();
    open_.reset();
    cursor_ = 0;
    storedCells_ = 0;
    baseId_ = nextId_++;
    savedId_ = baseId_;
}

void UndoHistory::MarkSaved() {
    savedId_ = CurrentId();
}

void UndoHistory::MarkModified() {
    savedId_ = NoState;
}

} // namespace tessra
