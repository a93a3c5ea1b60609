#pragma once
// The undo history of one layer: a linear list of at most 21 snapshots of its pixels with a
// current state. Undo and redo move along the list; recording a new state after an undo drops
// the states after the current one (no branching).
//
// Snapshots are kept compactly: each is a grid of tiles shared with the neighbouring states
// where the pixels did not change, so memory grows with what changed, not with the number of
// states. Restoring gives back exactly the recorded pixels.
#include "gfx/Bitmap.h"

#include <cstddef>
#include <memory>
#include <vector>

namespace vork {

class UndoHistory {
public:
    static constexpr int maxStates = 21;

    // Starts with one state, a snapshot of `layer`.
    explicit UndoHistory(const Bitmap& layer);
    ~UndoHistory();
    UndoHistory(const UndoHistory&) = delete;
    UndoHistory& operator=(const UndoHistory&) = delete;

    // Appends a snapshot of `layer` after the current state and makes it current; later states
    // are dropped, and the oldest state goes when there are more than 21.
    void record(const Bitmap& layer);
    // Step back / forward by one state, never past the ends. False when it could not move.
    bool undo();
    bool redo();
    // Copies the current state into `layer` when the sizes match; otherwise nothing.
    void restoreInto(Bitmap& layer) const;

    int stateCount() const;
    int currentState() const; // 0-based
    int width() const { return width_; }
    int height() const { return height_; }
    // Bytes of pixel memory the history holds.
    size_t memoryBytes() const;

private:
    struct Snapshot;
    int width_ = 0, height_ = 0;
    std::vector<std::unique_ptr<Snapshot>> states_;
    int current_ = 0;
};

} // namespace vork
