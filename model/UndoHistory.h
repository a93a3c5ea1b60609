// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The undo history of one layer: a linear list of at most 21 snapshots of its pixels with a
// current state. Undo and redo move along the list; recording a new state after an undo drops
// the states after the current one (no branching).
//
// Snapshots are kept compactly: each is a grid of tiles shared with the neighbouring states
// where the pixels did not change, so memory grows with what changed, not with the number of
// states. Restoring gives back exactly the recorded pixels.
//
// The history remembers which state the layer last held (after a record or a restore), so
// that a record needs to look only at the tiles the caller says changed since, and a restore
// writes only the tiles that differ between the two states, plus those the caller says
// changed since.
#include "gfx/Bitmap.h"

#include <cstddef>
#include <cstdint>
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

    // Starts afresh with one state, a snapshot of `layer`, reusing the memory of the old
    // states where it can, so that switching layers does not fault in new pages.
    void restart(const Bitmap& layer);

    // Appends a snapshot of `layer` after the current state and makes it current; later states
    // are dropped, and the oldest state goes when there are more than 21. Outside `changed`
    // the layer must still hold the state it last held; without it every tile is compared.
    void record(const Bitmap& layer, Rect changed);
    void record(const Bitmap& layer);
    // Step back / forward by one state, never past the ends. False when it could not move.
    bool undo();
    bool redo();
    // Copies the current state into `layer` when the sizes match (otherwise nothing): the tiles
    // that differ from the state the layer last held and those meeting `changed`, what the
    // layer changed since. Returns the rectangle written.
    Rect restoreInto(Bitmap& layer, Rect changed);
    Rect restoreInto(Bitmap& layer);

    int stateCount() const;
    int currentState() const; // 0-based
    int width() const { return width_; }
    int height() const { return height_; }
    // Bytes of pixel memory the history holds.
    size_t memoryBytes() const;

    // A number the owner keeps with the history: the layer's revision when it last matched a
    // state (see ChangeTracker).
    uint64_t layerRevision = 0;

  private:
    struct Tile;
    using Tiles = std::vector<std::shared_ptr<Tile>>; // row by row
    std::shared_ptr<Tile> newTile(size_t pixels);     // from the spare ones when there are
    std::shared_ptr<Tile> makeTile(const Bitmap& b, Rect r);
    void recycle(Tiles& tiles);
    Tiles snapshotOf(const Bitmap& layer);

    int width_ = 0, height_ = 0;
    std::vector<std::unique_ptr<Tiles>> states_;
    int current_ = 0;
    Tiles layerHolds_;                         // the tiles of the state the layer last held
    std::vector<std::shared_ptr<Tile>> spare_; // tiles no state uses any more, for reuse
};

} // namespace vork
